#pragma once

#include "books/kindsstore.h"

#include <QDialog>

class QLineEdit;

namespace kordel {

class DataModule;

// The kind card (Form9): one name, unique without regard to letter case.
class KindEditWindow : public QDialog
{
    Q_OBJECT

public:
    enum Mode { NewKind = 1, ChangeKind = 2 };

    explicit KindEditWindow(DataModule &dataModule, QWidget *parent = nullptr);

    void prepareNew();
    void prepareChange(int kindId, const QString &name);
    Mode mode() const { return m_mode; }

    // "Записать": checks, writes, re-reads Vid_oper and closes.
    void save();

protected:
    bool event(QEvent *event) override;

private:
    KindsStore m_store;
    QLineEdit *m_name = nullptr;
    Mode m_mode = NewKind;
    int m_kindId = 0;
};

} // namespace kordel
