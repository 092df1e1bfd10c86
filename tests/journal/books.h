#pragma once

// The reference books the journal's windows open, built as the client
// builds them.

#include "datamodule.h"
#include "hoursprompt.h"
#include "kindeditwindow.h"
#include "kindswindow.h"
#include "normwindow.h"
#include "operationeditwindow.h"
#include "pricelistwindow.h"
#include "producteditwindow.h"
#include "productswindow.h"
#include "workereditwindow.h"
#include "workerswindow.h"

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
