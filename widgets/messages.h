#pragma once

#include "core/datamodule.h"

#include <QString>

class QWidget;

namespace kordel {

enum class MessageIcon { Error, Question, Exclamation, Information };

// Every message box and question of the client goes through this service, so
// that tests can read what the user was told and answer questions themselves.
class MessageService
{
public:
    virtual ~MessageService() = default;

    // A modal box with an OK button.
    virtual void inform(QWidget *parent, const QString &text, const QString &caption, MessageIcon icon) = 0;
    // The same box with a detail the user can unfold: what an administrator
    // needs to act on it.  Without its own way of showing it, the detail is
    // dropped.
    virtual void informWithDetail(QWidget *parent, const QString &text, const QString &caption,
                                  MessageIcon icon, const QString &detail)
    {
        Q_UNUSED(detail);
        inform(parent, text, caption, icon);
    }
    // A modal Yes/No question; true when the user answers Yes.
    virtual bool ask(QWidget *parent, const QString &text, const QString &caption, MessageIcon icon) = 0;

    static MessageService &current();
    // Replaces the service; nullptr brings back the dialog boxes.
    static void install(MessageService *service);
};

class DbError;

namespace messages {

// Refusal: caption "Ошибка", error icon, OK.
void error(QWidget *parent, const QString &text);
// Question before a deletion: caption "Удаление", question icon, Yes/No.
bool askDelete(QWidget *parent, const QString &text);
// A failed database action: the driver's message in a modal error box; a
// lost server is named, with whether the connection is back.
void databaseError(QWidget *parent, const DbError &error, bool reconnected = false);

} // namespace messages

// Runs the data module's duplicate test and shows its refusal.
DataModule::CheckResult refuseIfCounted(DataModule &data, const QString &statement, const Params &params,
                                        const QString &message, QWidget *parent);

} // namespace kordel
