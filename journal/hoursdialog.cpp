#include "journal/hoursdialog.h"

#include "widgets/formkit.h"
#include "widgets/guarded.h"
#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kordel {

HoursDialog::HoursDialog(DataModule &dataModule, QWidget *parent) : QDialog(parent), m_store(dataModule)
{
    setObjectName(u"Form34"_s);
    setWindowTitle(u"Отработано (34)"_s);

    auto *layout = new QVBoxLayout(this);
    auto *line = new QHBoxLayout;
    m_hours = new QLineEdit(this);
    m_hours->setObjectName(u"Edit1"_s);
    m_hours->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), m_hours));
    m_hours->setMaxLength(9);
    auto *unit = new QLabel(u"ч."_s, this);
    unit->setObjectName(u"Label1"_s);
    line->addWidget(m_hours);
    line->addWidget(unit);
    layout->addLayout(line);

    auto *buttons = new QHBoxLayout;
    auto *done = makeButton(u"Button1"_s, u"Готово"_s, this, ButtonRole::Default);
    connect(done, &QPushButton::clicked, this, &HoursDialog::confirm);
    auto *cancel = makeButton(u"Button2"_s, u"Отмена"_s, this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(done);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

bool HoursDialog::edit(int rowId, int workerId, int hours)
{
    m_rowId = rowId;
    m_workerId = workerId;
    m_hours->setText(QString::number(hours));
    m_hours->selectAll();
    m_hours->setFocus();
    return exec() == QDialog::Accepted;
}

void HoursDialog::confirm()
{
    const QString text = m_hours->text().trimmed();
    if (text.isEmpty()) {
        messages::error(this, u"Время должно быть заполнено!"_s);
        return;
    }
    if (guarded(this, [&] { m_store.changeHours(m_rowId, text.toInt()); }))
        accept();
}

} // namespace kordel
