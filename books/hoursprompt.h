#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;

namespace kordel {

// The hours prompt (Form132) of an auxiliary worker pick.
class HoursPrompt : public QDialog
{
    Q_OBJECT

public:
    explicit HoursPrompt(QWidget *parent = nullptr);

    // Shows the worker's name and an empty field; the hours typed, or
    // nothing when cancelled or refused.
    std::optional<int> ask(const QString &workerName);

    // "Запись": a whole number above 0 confirms; anything else is refused
    // with a message and ends the prompt as cancelled.
    void confirm();

private:
    QLabel *m_name = nullptr;
    QLineEdit *m_hours = nullptr;
    int m_value = 0;
};

} // namespace kordel
