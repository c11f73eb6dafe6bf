#include "gui/shell/intro_screen.h"

#include <QLabel>

#include "gui/shell/qt_text.h"
#include "key/core/texts.h"

namespace brisolt::gui {

namespace {

QLabel* Bold(QLabel* label) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

TfrmIntro::TfrmIntro(AppContext& context)
    : WizardScreen(context, ScreenId::Intro, Q(texts::intro::kCaption), kStandardCanvas) {
    // The heading wraps over two lines at 25 pixels.
    AddTitle(Q(texts::intro::kHeading), QRect(24, 12, 640, 72));

    // One row per step: number in bold, what is done, and where (field or office) in bold.
    constexpr int kFirstRow = 112;
    constexpr int kRowHeight = 30;
    int row = 0;
    for (const auto& step : texts::intro::kSteps) {
        const int y = kFirstRow + row * kRowHeight;
        ++row;
        const QString number = QString::number(row);
        Bold(AddLabel(Q(step.step), QRect(56, y, 90, 20), "labStep" + number));
        AddLabel(Q(step.title), QRect(150, y, 420, 20), "labStepTitle" + number);
        Bold(AddLabel(Q(step.place), QRect(580, y, 60, 20), "labPlace" + number));
    }
    QLabel* closing =
        Bold(AddLabel(Q(texts::intro::kClosing),
                      QRect(56, kFirstRow + row * kRowHeight + 14, 584, 20), "labClosing"));
    closing->setWordWrap(true);

    AddRowButton(Q(texts::common::kBack), "btnBack", 0, &TfrmIntro::btnBackClick);
    AddRowButton(Q(texts::common::kNext), "btnNext", 1, &TfrmIntro::btnNextClick);
    AddRowButton(Q(texts::common::kClose), "btnClose", -1, &TfrmIntro::btnCloseClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", &TfrmIntro::btnNextClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", &TfrmIntro::btnBackClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", &TfrmIntro::btnCloseClick);
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 &TfrmIntro::mniVersioninfoClick);
}

void TfrmIntro::btnBackClick() {
    Context().Navigate(this, ScreenId::Main);
}

void TfrmIntro::btnNextClick() {
    Context().Navigate(this, ScreenId::Business);
}

} // namespace brisolt::gui
