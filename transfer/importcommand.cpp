#include "transfer/importcommand.h"

#include "db/dberror.h"
#include "widgets/messages.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QProgressDialog>
#include <optional>

using namespace Qt::StringLiterals;

namespace kordel::transfer {

bool maintenanceRequested()
{
    return qEnvironmentVariable("KORDEL_MAINTENANCE") == u"1"_s;
}

void offerMaintenance(QAction *import, QAction *structure)
{
    const bool shown = maintenanceRequested();
    if (import)
        import->setVisible(shown);
    if (structure)
        structure->setVisible(shown);
}

ImportCommand::ImportCommand(QWidget *parent) : QObject(parent), m_parent(parent)
{
    setObjectName(u"ImportCommand"_s);
}

void ImportCommand::setConnections(const QString &source, const QString &target)
{
    m_source = source;
    m_target = target;
}

void ImportCommand::run()
{
    if (m_dialog)
        return; // already running
    if (!MessageService::current().ask(m_parent,
                                       u"Импорт заменит строки таблиц табеля (H_TABEL, IZDEL, NOMENKL, OPER, "
                                       "VID_OPER, WORKERS, smena) строками из источника данных Tabel. "
                                       "Продолжить?"_s,
                                       u"Импорт"_s, MessageIcon::Question))
        return;

    auto *dialog = new QProgressDialog(m_parent);
    dialog->setObjectName(u"ImportProgress"_s);
    dialog->setWindowTitle(u"Импорт"_s);
    dialog->setLabelText(u"Подключение к источникам данных…"_s);
    dialog->setCancelButtonText(u"Прервать"_s);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setMinimumDuration(0);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumWidth(420);
    dialog->setValue(0);
    m_dialog = dialog;
    m_progressText.clear();
    m_lastPaint = 0;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    QApplication::processEvents();

    LegacyImport::Outcome outcome;
    std::optional<DbError> failure;
    try {
        LegacyImport import(m_source, m_target);
        outcome = import.run([this](const ImportProgress &progress) { return showProgress(progress); });
    } catch (const DbError &error) {
        failure = error;
    }
    delete m_dialog.data();
    QApplication::restoreOverrideCursor();

    if (failure) {
        messages::error(m_parent,
                        u"Импорт остановлен: таблица, на которой он остановился, оставлена как была, "
                        "следующие таблицы не копировались.\n\n"_s +
                            failure->message());
    } else if (outcome.stopped) {
        MessageService::current().inform(m_parent,
                                         u"Импорт прерван: таблица "_s + outcome.stoppedAt +
                                             u" оставлена как была, следующие таблицы не копировались."_s,
                                         u"Импорт"_s, MessageIcon::Exclamation);
    } else {
        MessageService::current().inform(m_parent, u"Импорт завершен."_s, u"Импорт"_s,
                                         MessageIcon::Information);
    }
}

bool ImportCommand::showProgress(const ImportProgress &progress)
{
    m_progressText = progress.table + u": "_s + QString::number(progress.done) + u" из "_s +
                     QString::number(progress.total) + u" записей"_s;
    if (!m_dialog)
        return true;
    // A batch takes a few milliseconds: repaint at most ten times a second,
    // and always at the start and end of a table.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const bool edge = progress.done == 0 || progress.done >= progress.total;
    if (edge || now - m_lastPaint >= 100) {
        m_lastPaint = now;
        m_dialog->setLabelText(m_progressText);
        const qint64 total = std::max<qint64>(progress.total, 1);
        m_dialog->setMaximum(1000);
        m_dialog->setValue(int(std::min<qint64>(progress.done, total) * 1000 / total));
        QApplication::processEvents();
    }
    return !m_dialog->wasCanceled();
}

} // namespace kordel::transfer
