#include <QtTest>

// Placeholder until the tests of this window arrive.
class PlaceholderTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void nothingYet() {}
};

QTEST_MAIN(PlaceholderTest)
#include "tst_workers.moc"
