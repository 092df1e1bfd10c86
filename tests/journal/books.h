#pragma once

// The reference books the journal's windows open, built as the client
// builds them.

#include "core/datamodule.h"
#include "books/hoursprompt.h"
#include "books/kindeditwindow.h"
#include "books/kindswindow.h"
#include "books/normwindow.h"
#include "books/operationeditwindow.h"
#include "books/pricelistwindow.h"
#include "books/producteditwindow.h"
#include "books/productswindow.h"
#include "books/workereditwindow.h"
#include "books/workerswindow.h"

namespace kordel::test {

struct Books
{
    explicit Books(DataModule &data)
        : workerEdit(data), workers(data, workerEdit, hoursPrompt), productEdit(data),
          products(data, productEdit), kindEdit(data), kinds(data, kindEdit),
          operationEdit(data, products, kinds), norms(data), prices(data, operationEdit, norms)
    {}
    WorkerEditWindow workerEdit;
    HoursPrompt hoursPrompt;
    WorkersWindow workers;
    ProductEditWindow productEdit;
    ProductsWindow products;
    KindEditWindow kindEdit;
    KindsWindow kinds;
    OperationEditWindow operationEdit;
    NormWindow norms;
    PriceListWindow prices;
};

} // namespace kordel::test
