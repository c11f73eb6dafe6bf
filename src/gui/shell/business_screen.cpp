#include "gui/shell/business_screen.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <initializer_list>

#include "gui/shell/qt_text.h"
#include "gui/shell/widget_refill.h"
#include "key/core/texts.h"

namespace brisolt::gui {

namespace {
constexpr int kLabelX = 40;
constexpr int kFieldX = 232;
constexpr int kWideField = 400;
constexpr int kYearField = 56; // four to five digits
constexpr int kDateField = 88; // a date of about ten characters
constexpr int kFirstRow = 84;
constexpr int kRowHeight = 36;
constexpr int kFieldHeight = 21;

int RowY(int row) {
    return kFirstRow + row * kRowHeight;
}
} // namespace

TfrmBusiness::TfrmBusiness(AppContext& context)
    : WizardScreen(context, ScreenId::Business, Q(texts::farm::kCaption), kStandardCanvas) {
    AddTitle(Q(texts::farm::kHeading), QRect(24, 20, 640, 36));

    const auto label = [this](std::string_view text, int row, const QString& name) {
        AddLabel(Q(text), QRect(kLabelX, RowY(row), kFieldX - kLabelX - 8, kFieldHeight), name)
            ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    };
    label(texts::farm::kNameSurname, 0, "labNameSurname");
    label(texts::farm::kAddress, 1, "labAddress");
    label(texts::farm::kParzelle, 3, "labParzelle");
    label(texts::farm::kVariant, 4, "labVariant");
    label(texts::farm::kYear, 5, "labYear");
    label(texts::farm::kEnteredBy, 6, "labEnteredBy");
    label(texts::farm::kEnteredOn, 7, "labEnteredOn");

    nameSurname_ = AddTextField("edtNameSurname", RowY(0), kWideField, &FarmDataForm::NameSurname);
    address1_ = AddTextField("edtAddress1", RowY(1), kWideField, &FarmDataForm::Address1);
    // The second address line has no label of its own.
    address2_ = AddTextField("edtAddress2", RowY(2), kWideField, &FarmDataForm::Address2);
    parzelle_ = AddTextField("edtParzelle", RowY(3), kWideField, &FarmDataForm::Parzelle);
    variant_ = AddTextField("edtVariant", RowY(4), kWideField, &FarmDataForm::Variant);

    // Typing in the year field copies nothing; the year is read when the field is left
    // (or with the next change of another field).
    year_ = new QLineEdit(Canvas());
    year_->setObjectName("edtYear");
    year_->setGeometry(kFieldX, RowY(5), kYearField, kFieldHeight);
    connect(year_, &QLineEdit::textChanged, this, &TfrmBusiness::edtYearChange);
    year_->installEventFilter(this);

    enteredBy_ = AddTextField("edtEnteredBy", RowY(6), kWideField, &FarmDataForm::EnteredBy);
    enteredOn_ = AddTextField("edtEnteredOn", RowY(7), kDateField, &FarmDataForm::EnteredOn);

    QPushButton* btnBack =
        AddRowButton(Q(texts::common::kBack), "btnBack", 0, &TfrmBusiness::btnBackClick);
    QPushButton* btnNext =
        AddRowButton(Q(texts::common::kNext), "btnNext", 1, &TfrmBusiness::btnNextClick);
    QPushButton* btnClose =
        AddRowButton(Q(texts::common::kClose), "btnClose", -1, &TfrmBusiness::btnCloseClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", &TfrmBusiness::btnNextClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", &TfrmBusiness::btnBackClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", &TfrmBusiness::btnCloseClick);
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 &TfrmBusiness::mniVersioninfoClick);

    // The variant was added to the screen later and comes last in the keyboard order.
    QWidget* previous = nullptr;
    for (QWidget* widget : std::initializer_list<QWidget*>{nameSurname_, address1_, address2_,
                                                           parzelle_, year_, enteredBy_, enteredOn_,
                                                           btnBack, btnNext, btnClose, variant_}) {
        if (previous != nullptr) {
            setTabOrder(previous, widget);
        }
        previous = widget;
    }
    nameSurname_->setFocus();
}

QLineEdit* TfrmBusiness::AddTextField(const QString& objectName, int y, int width,
                                      std::string FarmDataForm::*field) {
    auto* edit = new QLineEdit(Canvas());
    edit->setObjectName(objectName);
    edit->setGeometry(kFieldX, y, width, kFieldHeight);
    // Every keystroke, paste or deletion reaches the record at once. Refills run under a
    // signal blocker and never come here.
    ConnectGuarded(edit, &QLineEdit::textChanged, &TfrmBusiness::edtTextChange);
    // Leaving the field shows the text as stored (see eventFilter).
    edit->installEventFilter(this);
    textFields_.emplace_back(edit, field);
    return edit;
}

void TfrmBusiness::edtTextChange(const QString& text) {
    for (const auto& [edit, field] : textFields_) {
        if (sender() == edit) {
            form_.*field = U(text);
        }
    }
    form_.TextChange(Context().record);
}

void TfrmBusiness::edtYearChange(const QString& text) {
    form_.YearText = U(text);
}

void TfrmBusiness::btnBackClick() {
    Context().Navigate(this, ScreenId::Intro);
}

void TfrmBusiness::btnNextClick() {
    Context().Navigate(this, ScreenId::Step1);
}

void TfrmBusiness::ShowForm() {
    const std::pair<QLineEdit*, const std::string*> fields[] = {
        {nameSurname_, &form_.NameSurname}, {address1_, &form_.Address1},
        {address2_, &form_.Address2},       {parzelle_, &form_.Parzelle},
        {variant_, &form_.Variant},         {year_, &form_.YearText},
        {enteredBy_, &form_.EnteredBy},     {enteredOn_, &form_.EnteredOn},
    };
    for (const auto& [edit, text] : fields) {
        SetTextIfChanged(edit, *text);
    }
}

void TfrmBusiness::FormActivate() {
    form_.Activate(Context().record);
    ShowForm();
}

void TfrmBusiness::edtYearExit() {
    Guarded([this] { form_.YearExit(Context().record); });
    // The field keeps only its digits even when the year was too long to store.
    const QSignalBlocker blocker(year_);
    year_->setText(Q(form_.YearText));
}

void TfrmBusiness::edtTextExit(QLineEdit* edit, std::string FarmDataForm::*field) {
    // The field shows the text as stored ("Ł" becomes "L"); while typing, text and cursor
    // stay as they are.
    form_.TextExit(field);
    SetTextIfChanged(edit, form_.*field);
}

bool TfrmBusiness::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // Only a move to another control of this window leaves a field; switching to
        // another window (an error box shown while typing) or opening a menu does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == year_) {
                edtYearExit();
            }
            for (const auto& [edit, field] : textFields_) {
                if (watched == edit) {
                    edtTextExit(edit, field);
                }
            }
        }
    }
    return WizardScreen::eventFilter(watched, event);
}

} // namespace brisolt::gui
