#pragma once

#include "transfer/legacyimport.h"

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

class QAction;
class QWidget;

namespace kordel::transfer {

// The maintenance items "Импорт" and "Структура БД" are shown only when the
// administrator starts the client with KORDEL_MAINTENANCE=1 in the
// environment; otherwise they stay in the menu bar, hidden.
bool maintenanceRequested();
void offerMaintenance(QAction *import, QAction *structure);

// "Импорт": asks before replacing the tables, copies the legacy tables with
// a progress dialog ("<table>: N из M записей", moved after every batch),
// then tells how it ended.  Cancelling leaves the table being copied as it
// was and copies no further tables.
class ImportCommand : public QObject
{
    Q_OBJECT

public:
    explicit ImportCommand(QWidget *parent);

    // The data sources; tests and other installations name their own.
    void setConnections(const QString &source, const QString &target);

    void run();

    // The progress text last shown.
    const QString &progressText() const { return m_progressText; }
    // The progress dialog while an import runs, for tests.
    QProgressDialog *progressDialog() const { return m_dialog; }

private:
    bool showProgress(const ImportProgress &progress);

    QWidget *m_parent;
    QString m_source = LegacyImport::defaultSource();
    QString m_target = LegacyImport::defaultTarget();
    QString m_progressText;
    QPointer<QProgressDialog> m_dialog;
    qint64 m_lastPaint = 0;
};

} // namespace kordel::transfer
