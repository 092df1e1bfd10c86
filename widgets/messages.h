#pragma once

#include "core/outcome.h"

#include <QString>
#include <QWidget>

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
// Shows a store's refusal as error() does; true when the check passed.
bool passes(QWidget *parent, const Check &check);
// Question before a deletion: caption "Удаление", question icon, Yes/No.
bool askDelete(QWidget *parent, const QString &text);
// A failed database action: the driver's message in a modal error box; a
// lost server is named, with whether the connection is back.
void databaseError(QWidget *parent, const DbError &error, bool reconnected = false);

} // namespace messages

} // namespace kordel
