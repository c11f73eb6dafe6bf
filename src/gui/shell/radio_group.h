#pragma once
// A framed radio group (title, one button per answer) that reports the clicked position and
// can be set from a form state without echoing the click back.

#include <QGroupBox>
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

    // Checks the answer at `position`; -1 (or any position outside the answers) leaves every
    // answer unchecked. Sends no click.
    void SetChecked(int position);
    QRadioButton* Button(int position) const;
    int Count() const;

signals:
    // The user clicked the answer at `position`.
    void answerClicked(int position);

private:
    QButtonGroup* buttons_;
};

} // namespace brisolt::gui
