#pragma once

#include "books/groupeditwindow.h"
#include "books/groupswindow.h"
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

class QWidget;

namespace kordel {

class DataModule;

// Every window of the reference books, created once and given the windows
// it opens: a list its card, the price list its operation card and norm
// window, the operation card the products and kinds to pick from.  The
// client and the tests build the books through this one class.
class BooksWindows
{
public:
    explicit BooksWindows(DataModule &dataModule, QWidget *parent = nullptr);
    BooksWindows(const BooksWindows &) = delete;
    BooksWindows &operator=(const BooksWindows &) = delete;

    WorkerEditWindow workerCard;       // Form2
    HoursPrompt hoursPrompt;           // Form132
    WorkersWindow workers;             // Form5
    ProductEditWindow productCard;     // Form7
    ProductsWindow products;           // Form3
    KindEditWindow kindCard;           // Form9
    KindsWindow kinds;                 // Form8
    OperationEditWindow operationCard; // Form10
    NormWindow norms;                  // Form22
    PriceListWindow prices;            // Form4
    GroupEditWindow groupCard;         // Form29
    GroupsWindow groups;               // Form26
};

} // namespace kordel
