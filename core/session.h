#pragma once

#include "core/buildstamp.h"
#include "core/journalcontext.h"
#include "core/roles.h"

#include <QString>

namespace kordel {

// What every window of one run of the client may read: the command-line
// arguments, the build stamp, the role of the login, and the daily journal's
// date, shift and "Выходной" (through JournalContext, kept by the journal
// window, which sets itself here).
class Session
{
public:
    void setArguments(const QString &databaseArgument, const QString &serverArgument)
    {
        m_databaseArgument = databaseArgument;
        m_serverArgument = serverArgument;
    }
    const QString &databaseArgument() const { return m_databaseArgument; }
    const QString &serverArgument() const { return m_serverArgument; }

    void setBuildStamp(const BuildStamp &stamp) { m_build = stamp; }
    const BuildStamp &buildStamp() const { return m_build; }
    // "Табель (build: D.T) Сервер:<server>, БД:<database>"
    QString buildCaption() const
    {
        return QStringLiteral("Табель (build: ") + m_build.text() + QStringLiteral(") Сервер:") +
               m_serverArgument + QStringLiteral(", БД:") + m_databaseArgument;
    }

    // The trimmed code of the last attempt, refused ones included.
    void setRoleText(const QString &text) { m_roleText = text; }
    const QString &roleText() const { return m_roleText; }
    Role role() const { return roleForCode(m_roleText); }

    void setJournal(JournalContext *journal) { m_journal = journal; }
    // The daily journal; null before the journal window exists.
    JournalContext *journal() const { return m_journal; }

private:
    QString m_databaseArgument;
    QString m_serverArgument;
    BuildStamp m_build;
    QString m_roleText;
    JournalContext *m_journal = nullptr;
};

} // namespace kordel
