#include "books/hoursprompt.h"

#include "widgets/formkit.h"
#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {

HoursPrompt::HoursPrompt(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"Form132"_s);
    setWindowTitle(u"Ввод данных (132)"_s);

    auto *layout = new QVBoxLayout(this);
    m_name = new QLabel(this);
    m_name->setObjectName(u"Label1"_s);
    layout->addWidget(m_name);

    auto *row = new QHBoxLayout;
    auto *caption = new QLabel(u"Отработано (ч.)"_s, this);
    caption->setObjectName(u"Label2"_s);
    m_hours = new QLineEdit(this);
    m_hours->setObjectName(u"Edit1"_s);
    m_hours->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), m_hours));
    caption->setBuddy(m_hours);
    row->addWidget(caption);
    row->addWidget(m_hours);
    layout->addLayout(row);

    auto *save = makeButton(u"Button1"_s, u"Запись"_s, this, ButtonRole::Default);
    auto *cancel = makeButton(u"Button2"_s, u"Отмена"_s, this);
    layout->addLayout(dialogButtons(save, cancel));

    connect(save, &QPushButton::clicked, this, &HoursPrompt::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(300);
}

std::optional<int> HoursPrompt::ask(const QString &workerName)
{
    m_name->setText(workerName);
    m_hours->clear();
    m_value = 0;
    m_hours->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_value;
}

void HoursPrompt::confirm()
{
    bool ok = false;
    const int hours = m_hours->text().toInt(&ok);
    if (!ok || hours <= 0) {
        messages::error(this, u"Значение должно быть больше 0!"_s);
        reject();
        return;
    }
    m_value = hours;
    accept();
}

} // namespace kordel
