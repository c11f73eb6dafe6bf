// The load and save windows: the file they write, what a load replaces, and that every
// failure is reported while the window stays open and the assessment stays as it was.

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <optional>

#include "gui/files/file_window.h"
#include "gui/shell/application.h"
#include "gui/shell/main_window.h"
#include "gui_support.h"
#include "key/files/calculation_file.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::gui::testing;

namespace {

// Answers the file dialog with a fixed path (empty: the user cancels) and remembers what
// the window asked.
class DialogAnswer {
public:
    explicit DialogAnswer(QString answer) : answer_(std::move(answer)) {
        FileWindow::SetFileDialog([this](QWidget*, const FileDialogRequest& request) {
            asked = request;
            return answer_;
        });
    }
    ~DialogAnswer() { FileWindow::SetFileDialog({}); }
    DialogAnswer(const DialogAnswer&) = delete;
    DialogAnswer& operator=(const DialogAnswer&) = delete;

    std::optional<FileDialogRequest> asked;

private:
    QString answer_;
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path + ": " + file.errorString()));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// A calculation of another assessment than the one the program starts with.
AssessmentRecord OtherAssessment() {
    AssessmentRecord record;
    ResetRecordDefaults(record, 2019);
    record.NameSurname = "Gerber Hans";
    record.Parzelle = "Hohacker";
    record.Gradient = 7;
    record.FloatDistance = 120;
    record.Region = 2;
    record.DepthSoil = 55;
    return record;
}

// The program's assessment before a load: inputs and results of an earlier walk.
void FillEarlierWalk(AssessmentRecord& record) {
    record.NameSurname = "Muster Peter";
    record.Address1 = "Dorfstrasse 3";
    record.Gradient = 12;
    record.Stones = 30;
    record.C = 0.31L;
    record.EF = 4.2L;
    record.EFL = 9.5L;
    record.GBF = "2";
}

} // namespace

class FileWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ConfigureApplication(); }

    void saveWritesTheRecordAndConfirms() {
        QTemporaryDir dir;
        const QString path = dir.filePath("hofer.txt");
        DialogAnswer dialog(path);
        MessageLog log;
        Application app(2026);
        app.Context().record.NameSurname = "Hofer Anna";
        app.Context().record.Gradient = 9;
        auto* save = app.Window<TfrmSave>(ScreenId::Save);
        Trigger(app.MainWindow(), "mniSaveCalculation");
        QVERIFY(save->isVisible());
        QTest::keyClicks(save->FileName(), "hofer");
        Click(save, "bbtFolder");

        QVERIFY(dialog.asked.has_value());
        QVERIFY(dialog.asked->save);
        QCOMPARE(dialog.asked->proposedName, QString("hofer"));
        QCOMPARE(dialog.asked->nameFilters.size(), 3);
        QVERIFY(dialog.asked->nameFilters[0].startsWith("<DAT-Dateien (*.dat)>"));
        QVERIFY(dialog.asked->nameFilters[1].startsWith("<LIS-Dateien (*.lis)>"));
        QVERIFY(dialog.asked->selectedFilter.startsWith("<TXT-Dateien (*.txt)>"));
        QCOMPARE(dialog.asked->defaultSuffix, QString("TXT"));

        const QList<QByteArray> lines = ReadAll(path).split('\n');
        QCOMPARE(lines.size(), 86); // 85 lines, each ended by CR LF
        QVERIFY(lines.last().isEmpty());
        for (int i = 0; i < 85; ++i) {
            QVERIFY2(lines[i].endsWith('\r'), qPrintable(QString::number(i + 1)));
        }
        QCOMPARE(lines[0], QByteArray("V2.02\r"));
        QCOMPARE(lines[1], QByteArray("Hofer Anna\r"));
        QCOMPARE(lines[6], QByteArray("2026\r"));
        QCOMPARE(lines[11], QByteArray("9\r"));
        QCOMPARE(lines[15], QByteArray("2017\r"));
        QCOMPARE(lines[69], QByteArray("2026\r"));
        QCOMPARE(lines[77], QByteArray("1\r"));
        QCOMPARE(log.Take(), QStringList{"Daten wurden in die Datei geschrieben."});
        QCOMPARE(log.entries.size(), std::size_t{0});
        QVERIFY(!save->isVisible());
        QCOMPARE(save->FileName()->text(), QDir::toNativeSeparators(path));
    }

    void theSaveDialogSpeaksGerman() {
        MessageLog log;
        Application app(2026);
        auto* save = app.Window<TfrmSave>(ScreenId::Save);
        Activate(save);
        QStringList buttons;
        QTimer::singleShot(0, [&buttons] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            for (QPushButton* button :
                 dialog->findChild<QDialogButtonBox*>()->findChildren<QPushButton*>()) {
                buttons << button->text();
            }
            dialog->reject();
        });
        Click(save, "bbtFolder");
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"Abbrechen", "S&peichern"}));
        QVERIFY(log.Take().isEmpty());
    }

    void saveWindowStartsEmptyAndACancelEmptiesIt() {
        DialogAnswer dialog(QString{});
        MessageLog log;
        Application app(2026);
        auto* save = app.Window<TfrmSave>(ScreenId::Save);
        Activate(save);
        save->FileName()->setText("entwurf");
        Activate(app.MainWindow());
        Activate(save);
        QCOMPARE(save->FileName()->text(), QString());

        save->FileName()->setText("entwurf");
        Click(save, "bbtFolder");
        QVERIFY(dialog.asked.has_value());
        QCOMPARE(save->FileName()->text(), QString());
        QVERIFY(save->isVisible());
        QVERIFY(log.Take().isEmpty());
    }

    void aFailedSaveIsReportedAndTheWindowStays() {
        QTemporaryDir dir;
        MessageLog log;
        Application app(2026);
        auto* save = app.Window<TfrmSave>(ScreenId::Save);
        Activate(save);
        const QString missingFolder = dir.filePath("fehlt/hofer.txt");
        DialogAnswer dialog(missingFolder);
        Click(save, "bbtFolder");
        QCOMPARE(log.entries.size(), std::size_t{1});
        QCOMPARE(log.entries[0].first, Messages::Kind::Error);
        QCOMPARE(log.Take(), QStringList{"Pfad nicht gefunden."});
        QVERIFY(save->isVisible());
        QCOMPARE(save->FileName()->text(), QDir::toNativeSeparators(missingFolder));
        QVERIFY(!QFile::exists(missingFolder));
    }

    void loadReplacesTheWholeAssessment() {
        QTemporaryDir dir;
        const QString path = dir.filePath("gerber.dat");
        WriteAll(path, Bytes(CalculationFileBytes(OtherAssessment())));
        DialogAnswer dialog(QString{});
        MessageLog log;
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        FillEarlierWalk(record);
        auto* open = app.Window<TfrmOpen>(ScreenId::Open);
        Trigger(app.MainWindow(), "mniLoadCalculation");
        QVERIFY(open->isVisible());
        // Unsaved work is not thrown away without asking: "Abbrechen" loads nothing.
        open->FileName()->setText(path);
        const QString ask = "Die Eingaben wurden seit dem letzten Speichern geändert. Vorher "
                            "speichern?";
        Messages::SetSaveAnswer(Messages::SaveAnswer::Cancel);
        Click(open, "bbtFolder");
        QCOMPARE(log.Take(), QStringList{ask});
        QVERIFY(open->isVisible());
        QCOMPARE(record.NameSurname, std::string("Muster Peter"));
        // A name that points at a file is loaded without the dialog.
        Messages::SetSaveAnswer(Messages::SaveAnswer::Discard);
        Click(open, "bbtFolder");
        Messages::SetSaveAnswer(Messages::SaveAnswer::Cancel);
        QVERIFY(!dialog.asked.has_value());
        QCOMPARE(log.Take(), (QStringList{ask, "Daten wurden aus der Datei eingelesen."}));
        QVERIFY(!open->isVisible());
        QCOMPARE(open->FileName()->text(), path);

        QCOMPARE(record.NameSurname, std::string("Gerber Hans"));
        QCOMPARE(record.Parzelle, std::string("Hohacker"));
        QCOMPARE(record.Gradient, 7);
        QCOMPARE(record.Year, 2019);
        QCOMPARE(record.RotationYearAt(1).Year, 2010);
        // Fields the file leaves empty or at zero, and every result of the earlier walk,
        // are those of a fresh assessment: nothing of the old one shows through.
        QCOMPARE(record.Address1, std::string());
        QCOMPARE(record.Stones, 0);
        QCOMPARE(static_cast<double>(record.C), 0.0);
        QCOMPARE(static_cast<double>(record.EF), 0.0);
        QCOMPARE(static_cast<double>(record.EFL), 0.0);
        QCOMPARE(record.GBF, std::string());

        // The farm data screen shows the loaded assessment when it comes up next.
        QWidget* business = app.Context().Screen(ScreenId::Business);
        Activate(business);
        QCOMPARE(Find<QLineEdit>(business, "edtNameSurname")->text(), QString("Gerber Hans"));
        QCOMPARE(Find<QLineEdit>(business, "edtAddress1")->text(), QString());
        QCOMPARE(Find<QLineEdit>(business, "edtYear")->text(), QString("2019"));

        // Pressing the button again loads the same file again.
        record.NameSurname = "geändert";
        MarkAsSaved(record);
        Activate(open);
        Click(open, "bbtFolder");
        QCOMPARE(record.NameSurname, std::string("Gerber Hans"));
        QCOMPARE(log.Take(), QStringList{"Daten wurden aus der Datei eingelesen."});
    }

    void aNameWithoutAFileAsksTheDialog() {
        QTemporaryDir dir;
        const QString path = dir.filePath("gerber.txt");
        WriteAll(path, Bytes(CalculationFileBytes(OtherAssessment())));
        MessageLog log;
        Application app(2026);
        auto* open = app.Window<TfrmOpen>(ScreenId::Open);
        Activate(open);
        {
            DialogAnswer dialog(QString{});
            QTest::keyClicks(open->FileName(), "gerber");
            Click(open, "bbtFolder");
            QVERIFY(dialog.asked.has_value());
            QVERIFY(!dialog.asked->save);
            QCOMPARE(dialog.asked->proposedName, QString("gerber"));
            QVERIFY(dialog.asked->selectedFilter.startsWith("<TXT-Dateien (*.txt)>"));
            // Cancelled: nothing happens and the window stays.
            QVERIFY(log.Take().isEmpty());
            QVERIFY(open->isVisible());
            QCOMPARE(open->FileName()->text(), QString("gerber"));
            QCOMPARE(app.Context().record.NameSurname, std::string());
        }
        {
            DialogAnswer dialog(path);
            Click(open, "bbtFolder");
            QVERIFY(dialog.asked.has_value());
            QCOMPARE(open->FileName()->text(), QDir::toNativeSeparators(path));
            QCOMPARE(app.Context().record.NameSurname, std::string("Gerber Hans"));
            QCOMPARE(log.Take(), QStringList{"Daten wurden aus der Datei eingelesen."});
            QVERIFY(!open->isVisible());
        }
    }

    void failedLoadsLeaveTheAssessmentAlone() {
        QTemporaryDir dir;
        const QByteArray good = Bytes(CalculationFileBytes(OtherAssessment()));
        const QList<QByteArray> lines = good.split('\n');
        QByteArray badInteger = good;
        badInteger.replace("\r\n7\r\n", "\r\n12a\r\n"); // the gradient line
        QCOMPARE(badInteger.count("12a"), 1);
        const QByteArray incomplete = lines.mid(0, 40).join('\n') + '\n';
        QByteArray otherVersion = good;
        otherVersion.replace(0, 5, "V2.01");
        QByteArray withNul = good;
        withNul.replace("\r\n7\r\n", QByteArray("\r\n7\0\r\n", 6));
        QByteArray hugeNumber = good;
        hugeNumber.replace("\r\n7\r\n", "\r\n" + QByteArray(10'000'000, '1') + "\r\n");

        struct Case {
            const char* name;
            QByteArray bytes;
            Messages::Kind kind;
            QString text;
            bool windowStays;
        };
        const Case cases[] = {
            {"incomplete.txt", incomplete, Messages::Kind::Error,
             "Die Datei ist unvollständig und kann nicht eingelesen werden: " +
                 QDir::toNativeSeparators(dir.filePath("incomplete.txt")) + ".",
             true},
            {"badinteger.txt", badInteger, Messages::Kind::Error,
             "'12a' ist kein gültiger Integerwert.", true},
            // The whole text, a NUL shown; of a huge line only its start.
            {"mit-nul.txt", withNul, Messages::Kind::Error, "'7␀' ist kein gültiger Integerwert.",
             true},
            {"huge.txt", hugeNumber, Messages::Kind::Error,
             "'" + QString(40, '1') + "…' ist kein gültiger Integerwert.", true},
            {"version.txt", otherVersion, Messages::Kind::Message,
             "Daten wurden mit einer inkompatiblen Version von \"Brisolt\" erstellt und können "
             "nicht eingelesen werden!",
             false},
        };
        for (const Case& c : cases) {
            MessageLog log;
            Application app(2026);
            AssessmentRecord& record = app.Context().record;
            FillEarlierWalk(record);
            MarkAsSaved(record);
            const AssessmentRecord before = record;
            const QString path = dir.filePath(c.name);
            WriteAll(path, c.bytes);
            auto* open = app.Window<TfrmOpen>(ScreenId::Open);
            Activate(open);
            open->FileName()->setText(path);
            Click(open, "bbtFolder");
            QVERIFY2(log.entries.size() == 1, c.name);
            QCOMPARE(log.entries[0].first, c.kind);
            QCOMPARE(log.entries[0].second, c.text);
            QCOMPARE(open->isVisible(), c.windowStays);
            QCOMPARE(Bytes(CalculationFileBytes(record)), Bytes(CalculationFileBytes(before)));
            QCOMPARE(static_cast<double>(record.EF), 4.2);
        }

        // A file that vanished between choosing and reading.
        MessageLog log;
        Application app(2026);
        auto* open = app.Window<TfrmOpen>(ScreenId::Open);
        Activate(open);
        DialogAnswer dialog(dir.filePath("weg.txt"));
        Click(open, "bbtFolder");
        QCOMPARE(log.Take(), QStringList{"Datei nicht gefunden: " +
                                         QDir::toNativeSeparators(dir.filePath("weg.txt")) + "."});
        QVERIFY(open->isVisible());
    }

    void windowsLookRight() {
        Application app(2026);
        for (const auto& [id, file] :
             {std::pair{ScreenId::Open, "open.png"}, std::pair{ScreenId::Save, "save.png"}}) {
            auto* window = qobject_cast<FileWindow*>(app.Context().Screen(id));
            Activate(window);
            window->FileName()->setText("/home/berater/Berechnungen/Hofer_Unterfeld_2026.txt");
            QCOMPARE(window->size(), QSize(528, 96));
            const QLabel* label = Find<QLabel>(window, "labFile");
            QCOMPARE(label->text(), QString("Datei"));
            const QPushButton* folder = Find<QPushButton>(window, "bbtFolder");
            QCOMPARE(folder->width(), folder->height());
            QVERIFY(!folder->icon().isNull());
            const QWidget* controls[] = {label, window->FileName(), folder,
                                         Find<QPushButton>(window, "btnClose")};
            for (const QWidget* a : controls) {
                QVERIFY(window->rect().contains(a->geometry()));
                for (const QWidget* b : controls) {
                    QVERIFY(a == b || !a->geometry().intersects(b->geometry()));
                }
            }
        }
    }
};

QTEST_MAIN(FileWindowsTest)
#include "file_windows_test.moc"
