#include "widgets/messages.h"

#include "db/dberror.h"

#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

class DialogMessages : public MessageService
{
public:
    void inform(QWidget *parent, const QString &text, const QString &caption, MessageIcon icon) override
    {
        QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parent);
        box.exec();
    }

    void informWithDetail(QWidget *parent, const QString &text, const QString &caption, MessageIcon icon,
                          const QString &detail) override
    {
        QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parent);
        box.setDetailedText(detail);
        box.exec();
    }

    bool ask(QWidget *parent, const QString &text, const QString &caption, MessageIcon icon) override
    {
        QMessageBox box(boxIcon(icon), caption, text, QMessageBox::NoButton, parent);
        QPushButton *yes = box.addButton(u"Да"_s, QMessageBox::YesRole);
        QPushButton *no = box.addButton(u"Нет"_s, QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes;
    }
};

MessageService *installed = nullptr;

} // namespace

MessageService &MessageService::current()
{
    static DialogMessages dialogs;
    return installed ? *installed : dialogs;
}

void MessageService::install(MessageService *service)
{
    installed = service;
}

namespace messages {

void error(QWidget *parent, const QString &text)
{
    MessageService::current().inform(parent, text, u"Ошибка"_s, MessageIcon::Error);
}

bool passes(QWidget *parent, const Check &check)
{
    if (check.isRefused())
        error(parent, check.message());
    return check.isPassed();
}

bool askDelete(QWidget *parent, const QString &text)
{
    return MessageService::current().ask(parent, text, u"Удаление"_s, MessageIcon::Question);
}

void databaseError(QWidget *parent, const DbError &error, bool reconnected)
{
    QString text = error.message();
    if (error.isConnectionLost()) {
        text += reconnected
                    ? u"\n\nСвязь с сервером базы данных была потеряна и восстановлена. Повторите действие."_s
                    : u"\n\nСвязь с сервером базы данных потеряна."_s;
    }
    MessageService::current().inform(parent, text, u"Ошибка"_s, MessageIcon::Error);
}

} // namespace messages

} // namespace kordel
