#include "gui/shell/application.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTranslator>
#include <clocale>

#include "gui/compare/compare_window.h"
#include "gui/files/file_window.h"
#include "gui/help/photos.h"
#include "gui/measures/measures_window.h"
#include "gui/reports/report_preview.h"
#include "gui/results/step3_screen.h"
#include "gui/results/step4_screen.h"
#include "gui/results/step5_screen.h"
#include "gui/results/step6_screen.h"
#include "gui/results/step7_screen.h"
#include "gui/rotation/step2_screen.h"
#include "gui/shell/business_screen.h"
#include "gui/shell/intro_screen.h"
#include "gui/shell/main_window.h"
#include "gui/shell/qt_text.h"
#include "gui/site/step1_screen.h"
#include "key/core/number_text.h"
#include "key/core/texts.h"
#include "key/startup.h"
#include "pdf/bundled_fonts.h"
#include "report/measures_page.h"
#include "report/reports.h"
#include <QDate>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <memory>
#include <utility>

namespace brisolt::gui {

namespace {

// Qt's own dialogs and tool tips (file dialogs and their questions, the print dialog, the
// preview) speak German as the rest of the program does, whatever the system's language.
// Without the catalogue they stay English; the program runs all the same.
void LoadQtGerman() {
    const QString name = QStringLiteral("qtbaseGerman");
    if (qApp->findChild<QTranslator*>(name) != nullptr) {
        return;
    }
    auto* translator = new QTranslator(qApp);
    translator->setObjectName(name);
    const QString folders[] = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                               QStringLiteral("/usr/share/qt6/translations"),
                               QCoreApplication::applicationDirPath() + "/translations"};
    for (const QString& folder : folders) {
        if (translator->load(QStringLiteral("qtbase_de"), folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    }
    delete translator;
}

// Alt with a letter is how Windows users open a menu. Where no menu answers it, Qt on Linux
// hands the letter to the field with the focus: Alt+D in step 1 chose region D, in a year
// field it typed a "d". A field never takes a letter typed with Alt. (AltGr, which types
// "@" or "#" on a Swiss keyboard, arrives as Ctrl+Alt on Windows and without Alt on Linux.)
class IgnoreAltLetters : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers modifiers = key->modifiers();
            if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) &&
                !key->text().isEmpty() && key->text().at(0).isPrint() &&
                (qobject_cast<QLineEdit*>(watched) || qobject_cast<QComboBox*>(watched) ||
                 qobject_cast<QAbstractSpinBox*>(watched) ||
                 qobject_cast<QAbstractItemView*>(watched) ||
                 qobject_cast<QPlainTextEdit*>(watched) || qobject_cast<QTextEdit*>(watched))) {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void ConfigureApplication() {
    // The name under which the few settings (recent files, last folder) are kept.
    QCoreApplication::setOrganizationName(Q(texts::kProgramName));
    QCoreApplication::setApplicationName(Q(texts::kProgramName));
    LoadQtGerman();
    // Number conversions of the key never depend on the C locale; keep it neutral anyway.
    std::setlocale(LC_NUMERIC, "C");
    const QString point = QLocale::system().decimalPoint();
    SetDecimalSeparator(point.size() == 1 && point[0].unicode() < 128 ? point[0].toLatin1() : '.');
    pdf::UseBundledFonts();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    QApplication::setFont(font);
    const QString filter = QStringLiteral("ignoreAltLetters");
    if (qApp->findChild<QObject*>(filter, Qt::FindDirectChildrenOnly) == nullptr) {
        auto* ignore = new IgnoreAltLetters(qApp);
        ignore->setObjectName(filter);
        qApp->installEventFilter(ignore);
    }
}

Application::Application(Int startYear) : context_(startYear) {
    BuildKeyTables();
    const auto add = [this](QWidget* window, ScreenId id) {
        windows_.emplace_back(window);
        context_.Register(id, window);
    };
    // The order of creation is the program's start order.
    main_ = new TfrmMain(context_);
    add(main_, ScreenId::Main);
    add(new TfrmOpen(context_), ScreenId::Open);
    add(new TfrmSave(context_), ScreenId::Save);
    add(new TfrmStep1(context_), ScreenId::Step1);
    add(new TfrmStep2(context_), ScreenId::Step2);
    add(new TfrmIntro(context_), ScreenId::Intro);
    add(new TfrmStep3(context_), ScreenId::Step3);
    add(new TfrmStep4(context_), ScreenId::Step4);
    add(new TfrmStep5(context_), ScreenId::Step5);
    add(new TfrmStep6(context_), ScreenId::Step6);
    add(new TfrmStep7(context_), ScreenId::Step7);
    add(new TfrmBusiness(context_), ScreenId::Business);
    context_.openHelpPage = [this](int page) { Help().Show(page); };
    // The measures window is made when it is first asked for, not at start.
    context_.openMeasures = [this] {
        if (!measures_) {
            measures_ = std::make_unique<TfrmMeasures>(context_);
        }
        AppContext::ShowOnTop(measures_.get());
    };
    context_.openComparison = [this] {
        if (!comparison_) {
            comparison_ = std::make_unique<TfrmCompare>(context_);
        }
        AppContext::ShowOnTop(comparison_.get());
    };

    main_->Picture()->setPixmap(QPixmap::fromImage(LoadPhoto(QStringLiteral("main_field"))));

    // The reports read the record at the moment they are drawn.
    context_.openEvaluationProtocol = [this] {
        ShowReportPreview(
            QApplication::activeWindow(),
            [this] { return report::BuildEvaluationProtocol(context_.record, DecimalSeparator()); },
            QString::fromStdString(report::ProposedPdfName(context_.record, "Auswertung")));
    };
    context_.openMeasuresSheet = [this] {
        const auto exploration =
            std::make_shared<const MeasureExploration>(ExploreMeasures(context_.record));
        ShowReportPreview(
            QApplication::activeWindow(),
            [exploration] {
                return report::BuildMeasuresSheet(
                    *exploration, report::SheetPlan(*exploration),
                    QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString(),
                    DecimalSeparator());
            },
            QString::fromStdString(report::ProposedPdfName(context_.record, "Massnahmenblatt")));
    };
    context_.openRotationSheet = [this] {
        ShowReportPreview(
            QApplication::activeWindow(),
            [this] { return report::BuildRotationSheet(context_.record, DecimalSeparator()); },
            QString::fromStdString(report::ProposedPdfName(context_.record, "Fruchtfolge")));
    };
}

Application::~Application() {
    comparison_.reset();
    measures_.reset();
    helpPages_.reset();
    // Windows go in reverse order of creation.
    while (!windows_.empty()) {
        windows_.pop_back();
    }
}

HelpPages& Application::Help() {
    if (!helpPages_) {
        helpPages_ = std::make_unique<HelpPages>();
    }
    return *helpPages_;
}

void Application::OpenAtStart(const QString& path) {
    if (auto* open = Window<TfrmOpen>(ScreenId::Open)) {
        open->LoadFile(path, false);
    }
}

void Application::Start() {
    // The help pages are created right after the main window's first paint, so the program
    // appears at once; a help command before then creates them on the spot.
    class AfterFirstPaint : public QObject {
    public:
        AfterFirstPaint(QObject* parent, std::function<void()> then)
            : QObject(parent), then_(std::move(then)) {}
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint && then_) {
                // Two turns of the event loop: whatever the first paint queued runs first.
                QTimer::singleShot(0, parent(),
                                   [parent = parent(), then = std::exchange(then_, nullptr)] {
                                       QTimer::singleShot(0, parent, then);
                                   });
            }
            return QObject::eventFilter(watched, event);
        }

    private:
        std::function<void()> then_;
    };
    main_->installEventFilter(new AfterFirstPaint(main_, [this] { Help(); }));
    AppContext::ShowOnTop(main_);
    main_->NextButton()->setFocus();
}

} // namespace brisolt::gui
