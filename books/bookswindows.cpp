#include "books/bookswindows.h"

namespace kordel {

BooksWindows::BooksWindows(DataModule &dataModule, QWidget *parent)
    : workerCard(dataModule, parent), hoursPrompt(parent),
      workers(dataModule, workerCard, hoursPrompt, parent), productCard(dataModule, parent),
      products(dataModule, productCard, parent), kindCard(dataModule, parent),
      kinds(dataModule, kindCard, parent), operationCard(dataModule, products, kinds, parent),
      norms(dataModule, parent), prices(dataModule, operationCard, norms, parent),
      groupCard(dataModule, parent), groups(dataModule, groupCard, parent)
{}

} // namespace kordel
