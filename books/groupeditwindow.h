#pragma once

#include <QDialog>
#include <memory>

class QCheckBox;
class QLineEdit;

namespace kordel {

class DataModule;
class GroupsStore;

// The group edit window (Form29): the name and the "not in use" mark.
class GroupEditWindow : public QDialog
{
    Q_OBJECT

public:
    enum Mode { NewGroup = 1, ChangeGroup = 2 };

    explicit GroupEditWindow(DataModule &dataModule, QWidget *parent = nullptr);
    ~GroupEditWindow() override;

    // Shows the window modally; true when the group was written.
    bool addGroup();
    bool changeGroup(int id, const QString &caption, bool excluded);

    Mode mode() const { return m_mode; }

    // "Записать".
    void save();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool run();

    std::unique_ptr<GroupsStore> m_store;
    Mode m_mode = NewGroup;
    int m_id = 0;
    QLineEdit *m_caption = nullptr;
    QCheckBox *m_excluded = nullptr;
};

} // namespace kordel
