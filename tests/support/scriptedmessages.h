#pragma once

#include "widgets/messages.h"

#include <QList>
#include <QString>

namespace kordel::test {

// Stands in for the message boxes: records what the user would have been
// told and answers questions from a queue (Yes when the queue is empty,
// unless told otherwise).  Installs itself for its lifetime.
class ScriptedMessages : public MessageService
{
public:
    struct Shown
    {
        QString text;
        QString caption;
        MessageIcon icon;
        bool question;
        QString detail = {};
    };

    ScriptedMessages() { install(this); }
    ~ScriptedMessages() override { install(nullptr); }

    void inform(QWidget *, const QString &text, const QString &caption, MessageIcon icon) override
    {
        shown << Shown{text, caption, icon, false};
    }
    void informWithDetail(QWidget *, const QString &text, const QString &caption, MessageIcon icon,
                          const QString &detail) override
    {
        shown << Shown{text, caption, icon, false, detail};
    }
    bool ask(QWidget *, const QString &text, const QString &caption, MessageIcon icon) override
    {
        shown << Shown{text, caption, icon, true};
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }

    void clear()
    {
        shown.clear();
        answers.clear();
    }
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
    QStringList texts() const
    {
        QStringList list;
        for (const auto &s : shown)
            list << s.text;
        return list;
    }

    QList<Shown> shown;
    QList<bool> answers;
    bool defaultAnswer = true;
};

} // namespace kordel::test
