#include "widgets/report.h"

namespace kordel::report {

// Renderers still to come.
void preview(const Report &, QWidget *) {}
int print(const Report &, QPrinter &) { return 0; }
bool writePdf(const Report &, const QString &) { return false; }

} // namespace kordel::report
