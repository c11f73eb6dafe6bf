#pragma once
// A framed radio group (title, one button per answer) that reports the clicked position and
// can be set from a form state without echoing the click back.

#include <QGroupBox>
#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace brisolt::gui {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, const std::vector<std::string>& answers,
               const QString& objectName, QWidget* parent);

    // Runs when the user clicks an answer, with its position.
    void OnClick(std::function<void(int)> handler) { onClick_ = std::move(handler); }

    // Checks the answer at `position`; -1 (or any position outside the answers) leaves every
    // answer unchecked. Sends no click.
    void SetChecked(int position);
    // The checked position, -1 for none.
    int Checked() const;
    QRadioButton* Button(int position) const;
    int Count() const;

private:
    QButtonGroup* buttons_;
    std::function<void(int)> onClick_;
};

} // namespace brisolt::gui
