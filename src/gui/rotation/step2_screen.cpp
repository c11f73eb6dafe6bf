#include "gui/rotation/step2_screen.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "gui/shell/widget_refill.h"
#include "key/core/texts.h"
#include "key/core/texts_rotation.h"

namespace brisolt::gui {

namespace {

namespace t = texts::step2;

// Rows of the year blocks: the first at y 56, a block every 48 pixels, its second row 24
// pixels below the first.
constexpr int kFirstRowY = 56;
constexpr int kBlockHeight = 48;
constexpr int kRowOffset = 24;
constexpr int kFieldHeight = 22;

// Columns. The choice lists are as wide as their longest entry needs in the program's font
// (for example "Zwischenfutter/Gründüngung im Winter, überwinternd"), so no entry is cut.
constexpr int kYearLabelX = 24;
constexpr int kYearFieldX = 68;
constexpr int kYearFieldWidth = 41;
constexpr int kRowLabelX = 113;
constexpr int kCropX = 202;
constexpr int kCropWidth = 290;
constexpr int kTillageX = 498;
constexpr int kTillageWidth = 204;
constexpr int kStartX = 708;
constexpr int kStartWidth = 112;

constexpr int kCommandRowY = 624;

// The light-yellow background that marks the intermediate period's choices.
const QColor kInfoBackground(255, 255, 225);

// Where each choice of a year stands: row (0 first, 1 second), x and width.
struct ChoicePlace {
    int row;
    int x;
    int width;
};
constexpr std::array<ChoicePlace, kChoicesPerYear> kChoicePlaces = {{
    {0, kCropX, kCropWidth},       // a: main crop
    {1, kCropX, kCropWidth},       // b: period type
    {0, kTillageX, kTillageWidth}, // c: main crop tillage
    {1, kTillageX, kTillageWidth}, // d: period tillage
    {1, kStartX, kStartWidth},     // e: period start
}};

int FirstRowY(int n) {
    return kFirstRowY + kBlockHeight * (n - 1);
}

QString ChoiceName(int n, int i) {
    return QStringLiteral("cmbYear%1%2").arg(n).arg(QChar('a' + i));
}

// A display-only field: read-only and grey like the window behind it.
void MakeDisplayOnly(QLineEdit* field) {
    field->setReadOnly(true);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    field->setPalette(palette);
}

} // namespace

TfrmStep2::TfrmStep2(AppContext& context)
    : WizardScreen(context, ScreenId::Step2, Q(t::kCaption), kStep2Canvas) {
    auto* bevel = new QFrame(Canvas());
    bevel->setObjectName("bvlInput");
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(8, 8, 818, 609);

    AddTitle(Q(t::kTitle), QRect(16, 16, 145, 33));
    AddLabel(Q(t::kYears), QRect(168, 16, 32, 16), "labYears");
    yearsField_ = new QLineEdit(Canvas());
    yearsField_->setObjectName("edtYears");
    yearsField_->setGeometry(168, 32, 32, kFieldHeight); // at most "10"
    MakeDisplayOnly(yearsField_);
    AddLabel(Q(t::kCrops), QRect(kCropX, 32, kCropWidth, 21), "labCrops")
        ->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    AddLabel(Q(t::kTillage), QRect(kTillageX, 32, kTillageWidth, 21), "labTillage")
        ->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    QLabel* startHeading =
        AddLabel(Q(t::kPeriodStart), QRect(kStartX, 16, kStartWidth, 37), "labPeriodStart");
    startHeading->setWordWrap(true);
    startHeading->setAlignment(Qt::AlignLeft | Qt::AlignBottom);

    for (int n = 1; n <= kRotationYears; ++n) {
        BuildYearBlock(n);
    }

    // The C field closes the crop column; its label stands right before it, clear of the
    // print button at the left.
    constexpr int cFieldWidth = 65;
    constexpr int cFieldX = kCropX + kCropWidth - cFieldWidth;
    QLabel* cLabel =
        AddLabel(Q(t::kFactorC), QRect(136, 544, cFieldX - 6 - 136, kFieldHeight), "labFactorC");
    cLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cField_ = new QLineEdit(Canvas());
    cField_->setObjectName("edtC");
    cField_->setGeometry(cFieldX, 544, cFieldWidth, kFieldHeight);
    MakeDisplayOnly(cField_);
    AddLabel(Q(t::kFactorCNote), QRect(kTillageX, 544, 822 - kTillageX, kFieldHeight),
             "labFactorCNote");

    AddLabel(Q(t::kRemark), QRect(24, 568, 200, 16), "labRemark");
    remark_ = new QLineEdit(Canvas());
    remark_->setObjectName("edtRemark");
    remark_->setGeometry(24, 584, kStartX + kStartWidth - 24, kFieldHeight);
    remark_->setMaxLength(static_cast<int>(Step2Form::kRemarkMaxChars));
    connect(remark_, &QLineEdit::textEdited, this, &TfrmStep2::edtRemarkChange);
    remark_->installEventFilter(this);

    // Commands. Only the button "Schritt 2 drucken" checks and calculates before the
    // preview; the menu entry prints the record as it stands.
    AddButton(Q(t::kPrintStep2), "btnPrintStep2", QPoint(24, 536), &TfrmStep2::btnPrintStep2Click);
    const auto rowButton = [this](std::string_view text, const char* name, int x,
                                  void (TfrmStep2::*slot)()) {
        return AddButton(Q(text), name, QPoint(x, kCommandRowY), slot);
    };
    rowButton(t::kBack, "btnBack", 24, &TfrmStep2::btnBackClick);
    nextButton_ = rowButton(t::kNext, "btnNext", 160, &TfrmStep2::btnNextClick);
    calculateButton_ = rowButton(t::kCalculate, "btnCalculate", 296, &TfrmStep2::btnCalculateClick);
    rowButton(t::kClearFields, "btnClearFields", 432, &TfrmStep2::btnClearFieldsClick);
    rowButton(t::kHelp, "btnAssistance", 568, &TfrmStep2::btnAssistanceClick);
    rowButton(t::kClose, "btnClose", 704, &TfrmStep2::btnCloseClick);

    AddMenuEntry(FileMenu(), Q(t::kNext), "mniNext", &TfrmStep2::btnNextClick);
    AddMenuEntry(FileMenu(), Q(t::kBack), "mniBack", &TfrmStep2::btnBackClick);
    AddMenuEntry(FileMenu(), Q(t::kCalculate), "mniCalculate", &TfrmStep2::btnCalculateClick);
    AddMenuEntry(FileMenu(), Q(t::kClearFields), "mniClearFields", &TfrmStep2::btnClearFieldsClick);
    AddMenuEntry(FileMenu(), Q(t::kPrintStep2), "mniPrintStep2", &TfrmStep2::mniPrintStep2Click);
    AddMenuEntry(FileMenu(), Q(t::kRepeatRotation), "mniRepeatRotation",
                 &TfrmStep2::mniRepeatRotationClick);
    AddMenuEntry(FileMenu(), Q(t::kClose), "mniClose", &TfrmStep2::btnCloseClick);
    AddMenuEntry(HelpMenu(), Q(t::kHelp), "mniAssistance", &TfrmStep2::btnAssistanceClick);
    AddMenuEntry(HelpMenu(), Q(t::kImprint), "mniVersioninfo", &TfrmStep2::mniVersioninfoClick);

    BuildTabOrder();
    Refresh();
}

void TfrmStep2::BuildYearBlock(int n) {
    YearWidgets& widgets = years_.at(static_cast<std::size_t>(n - 1));
    const int y = FirstRowY(n);

    AddLabel(Q(t::YearLabel(n)), QRect(kYearLabelX, y, kYearFieldX - kYearLabelX, kFieldHeight),
             QStringLiteral("labYear%1").arg(n));
    widgets.year = new QLineEdit(Canvas());
    widgets.year->setObjectName(QStringLiteral("edtYear%1").arg(n));
    widgets.year->setGeometry(kYearFieldX, y, kYearFieldWidth, kFieldHeight);
    if (n == 1) {
        connect(widgets.year, &QLineEdit::textEdited, this, &TfrmStep2::edtYear1Change);
        widgets.year->installEventFilter(this);
    } else {
        // Years 2 to 10 follow from year 1.
        MakeDisplayOnly(widgets.year);
    }
    AddLabel(Q(t::kMainCrop), QRect(kRowLabelX, y, kCropX - kRowLabelX, kFieldHeight),
             QStringLiteral("labMainCrop%1").arg(n));
    AddLabel(Q(t::kIntermediatePeriod),
             QRect(kRowLabelX, y + kRowOffset, kCropX - kRowLabelX, kFieldHeight),
             QStringLiteral("labIntermediatePeriod%1").arg(n));

    for (int i = 0; i < kChoicesPerYear; ++i) {
        const ChoicePlace& place = kChoicePlaces.at(static_cast<std::size_t>(i));
        auto* combo = new QComboBox(Canvas());
        combo->setObjectName(ChoiceName(n, i));
        combo->setGeometry(place.x, y + place.row * kRowOffset, place.width, kFieldHeight);
        combo->setEditable(false); // only the list's entries can be chosen
        if (place.row == 1) {
            QPalette palette = combo->palette();
            palette.setColor(QPalette::Button, kInfoBackground);
            palette.setColor(QPalette::Base, kInfoBackground);
            combo->setPalette(palette);
        }
        ConnectGuarded(combo, &QComboBox::activated, &TfrmStep2::cmbYearChange);
        widgets.choices.at(static_cast<std::size_t>(i)) = combo;
    }
}

void TfrmStep2::BuildTabOrder() {
    // Year 1, then each year's main crop, its tillage, period type, period tillage and
    // start; then the commands, the display fields, and the remark last.
    std::vector<QWidget*> order{years_[0].year};
    for (const YearWidgets& widgets : years_) {
        for (Choice c : {Choice::Crop, Choice::CropTillage, Choice::PeriodType,
                         Choice::PeriodTillage, Choice::PeriodStart}) {
            order.push_back(widgets.choices.at(static_cast<std::size_t>(c)));
        }
    }
    for (const char* name : {"btnPrintStep2", "btnBack", "btnNext", "btnCalculate",
                             "btnClearFields", "btnAssistance", "btnClose"}) {
        order.push_back(Canvas()->findChild<QPushButton*>(QString::fromLatin1(name)));
    }
    for (std::size_t k = 1; k < years_.size(); ++k) {
        order.push_back(years_[k].year);
    }
    order.push_back(yearsField_);
    order.push_back(cField_);
    order.push_back(remark_);
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void TfrmStep2::Command(const std::function<void()>& body) {
    // Refreshes also when the command stops on an error, so the widgets never show anything
    // but the form state.
    struct Finish {
        TfrmStep2* screen;
        bool wasRunning;
        ~Finish() {
            screen->commandRunning_ = wasRunning;
            screen->Refresh();
        }
    } finish{this, commandRunning_};
    commandRunning_ = true;
    body();
}

void TfrmStep2::Refresh() {
    for (int n = 1; n <= kRotationYears; ++n) {
        const Step2Year& row = form_.Row(n);
        YearWidgets& widgets = years_.at(static_cast<std::size_t>(n - 1));
        SetTextIfChanged(widgets.year, row.YearText);
        for (int i = 0; i < kChoicesPerYear; ++i) {
            const OptionList& list = row.Lists.at(static_cast<std::size_t>(i));
            SetItemsIfChanged(widgets.choices.at(static_cast<std::size_t>(i)), list.Texts(),
                              list.Contains(list.Chosen()) ? list.Chosen() : -1);
        }
    }
    SetTextIfChanged(yearsField_, form_.YearsText);
    SetTextIfChanged(cField_, form_.CText);
    SetTextIfChanged(remark_, form_.RemarkText);
    nextButton_->setEnabled(form_.NextEnabled);
    // Enter presses what can be pressed: "Berechnen" while "Weiter" waits for it.
    SetDefaultButton(form_.NextEnabled ? nextButton_ : calculateButton_);
}

void TfrmStep2::FormActivate() {
    form_.Activate(Context().record);
    Refresh();
}

bool TfrmStep2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && (watched == years_[0].year || watched == remark_)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Opening a menu or a drop-down is not leaving the field. Switching to another window
        // is, unless one of this screen's own commands caused it (a message box): otherwise
        // the activation on return would refill the field from the record and lose the
        // text typed so far.
        const bool leaves = reason != Qt::PopupFocusReason &&
                            !(reason == Qt::ActiveWindowFocusReason && commandRunning_);
        if (leaves) {
            if (watched == remark_) {
                edtRemarkExit();
            } else {
                edtYear1Exit();
            }
        }
    }
    return WizardScreen::eventFilter(watched, event);
}

void TfrmStep2::cmbYearChange(int position) {
    for (int n = 1; n <= kRotationYears; ++n) {
        const YearWidgets& widgets = years_.at(static_cast<std::size_t>(n - 1));
        for (int i = 0; i < kChoicesPerYear; ++i) {
            if (sender() == widgets.choices.at(static_cast<std::size_t>(i))) {
                Command([this, n, i, position] {
                    form_.ChoiceChange(n, static_cast<Choice>(i), position, Context().record);
                });
                return;
            }
        }
    }
}

void TfrmStep2::edtYear1Change(const QString& text) {
    form_.SetYear1Text(U(text));
}

void TfrmStep2::edtRemarkChange(const QString& text) {
    form_.SetRemarkText(U(text));
}

void TfrmStep2::edtYear1Exit() {
    Guarded([this] { Command([this] { form_.Year1Exit(Context().record); }); });
}

void TfrmStep2::edtRemarkExit() {
    Guarded([this] { Command([this] { form_.RemarkExit(Context().record); }); });
}

void TfrmStep2::btnPrintStep2Click() {
    Command([this] {
        if (auto refusal = form_.PrintStep2(Context().record)) {
            Messages::Show(this, Q(*refusal));
            return;
        }
        Refresh();
        Context().OpenRotationSheet();
    });
}

void TfrmStep2::btnBackClick() {
    Context().Navigate(this, ScreenId::Step1);
}

void TfrmStep2::btnNextClick() {
    Command([this] {
        if (auto refusal = form_.Next(Context().record)) {
            Messages::Show(this, Q(*refusal));
            return;
        }
        Refresh();
        Context().Navigate(this, ScreenId::Step3);
    });
}

void TfrmStep2::btnCalculateClick() {
    Command([this] {
        if (auto refusal = form_.Calculate(Context().record)) {
            Messages::Show(this, Q(*refusal));
        }
    });
}

void TfrmStep2::btnClearFieldsClick() {
    Command([this] { form_.ClearFields(Context().record); });
}

void TfrmStep2::btnAssistanceClick() {
    Context().OpenHelpPage(help::kRotation);
}

void TfrmStep2::mniPrintStep2Click() {
    Context().OpenRotationSheet();
}

namespace {
TfrmStep2::RepeatAsker& CurrentRepeatAsker() {
    static TfrmStep2::RepeatAsker asker;
    return asker;
}
} // namespace

void TfrmStep2::SetRepeatAsker(RepeatAsker asker) {
    CurrentRepeatAsker() = std::move(asker);
}

void TfrmStep2::mniRepeatRotationClick() {
    // The years entered from year 1 are the cycle; the question is how long the rotation
    // should become, proposing whole cycles up to ten years. One that does not fit twice, or
    // nothing entered, is left as it is.
    const int cycle = form_.EnteredYears();
    const int proposed = Step2Form::ProposedRotationLength(cycle);
    if (cycle == 0 || proposed <= cycle || cycle >= kRotationYears) {
        Messages::Show(this, Q(t::kNothingToRepeat));
        return;
    }
    int length = 0;
    if (const RepeatAsker& asker = CurrentRepeatAsker()) {
        length = asker(this, proposed);
    } else {
        bool ok = false;
        length = QInputDialog::getInt(this, Q(t::kRepeatRotation), Q(t::kRepeatUpTo(cycle)),
                                      proposed, cycle + 1, kRotationYears, 1, &ok);
        length = ok ? length : 0;
    }
    if (length <= cycle) {
        return;
    }
    Command([this, cycle, length] {
        if (form_.RepeatRotation(cycle, length, Context().record) == 0) {
            Messages::Show(this, Q(t::kNothingToRepeat));
        }
    });
}

} // namespace brisolt::gui
