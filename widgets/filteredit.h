#pragma once

#include <QLineEdit>

namespace kordel {

class Dataset;

// The filter field of a list window: Up and Down move the list's current
// record.  In the lists that consume every key-down, keys that only act on
// key-down (Delete, Left, Right, Home, End and the like) do nothing here;
// typed characters, Backspace, Enter, Escape and Tab work as usual.
class FilterEdit : public QLineEdit
{
    Q_OBJECT

public:
    enum class Keys { ArrowsOnly, ConsumeKeyDown };
    explicit FilterEdit(Keys keys = Keys::ConsumeKeyDown, QWidget *parent = nullptr);

    void setDataset(Dataset *dataset) { m_dataset = dataset; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Keys m_keys;
    Dataset *m_dataset = nullptr;
};

} // namespace kordel
