// Folders and files whose names hold umlauts, letters no Western code page has, or (on Linux)
// bytes that are not UTF-8: every command that takes a file from the user reaches it. Under
// wine this runs in a German prefix and in one whose ANSI code page cannot hold the names.

#include <QPrintPreviewDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gui/compare/compare_window.h"
#include "gui/files/file_dialogs.h"
#include "gui/files/file_window.h"
#include "gui/shell/application.h"
#include "gui/shell/main_window.h"
#include "gui_support.h"
#include "key/files/calculation_file.h"
#include "key/files/file_system.h"
#include "key/startup.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::gui::testing;

namespace {

std::filesystem::path Native(const QString& path) {
    return PathFromUtf8(LocalPath(path));
}

std::string ReadBytes(const QString& path) {
    std::ifstream in(Native(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Answers every file dialog with one path.
struct AnswerDialogs {
    explicit AnswerDialogs(const QString& path) {
        SetFileDialog([path](QWidget*, const FileDialogRequest&) { return QStringList{path}; });
    }
    ~AnswerDialogs() { SetFileDialog({}); }
};

// Presses "Als PDF speichern" in the print preview the command opens, then closes it.
bool SavePdfFromPreview(const std::function<void()>& command) {
    bool pressed = false;
    QTimer::singleShot(200, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
            if (preview != nullptr && preview->isVisible()) {
                if (auto* action = preview->findChild<QAction*>("actSavePdf")) {
                    action->trigger();
                    pressed = true;
                }
                preview->reject();
            }
        }
    });
    command();
    return pressed;
}

} // namespace

class FilePathsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        ConfigureApplication();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
    }

    // The conversion keeps every name as the file system has it, there and back.
    void namesCrossToTheFileLayerUnchanged() {
        const std::string names[] = {
            "Beratung M\xC3\xBC"
            "ller/Parzelle S\xC3\xBC"
            "d.txt",
            "\xC5\x81\xC3\xB3"
            "d\xC5\xBA \xE2\x80\x93 Nord",
            "Acker \xF0\x9F\x8C\xBE.txt", // beyond the 16-bit plane
#ifndef _WIN32
            "M\xFCller.txt",    // Latin-1, as an old archive leaves it
            "\xED\xB2\x80.txt", // a surrogate in UTF-8 form: not UTF-8 either
            "\xC3.txt",         // a sequence cut short
#endif
        };
        for (const std::string& name : names) {
            QCOMPARE(LocalPath(PathFromLocal(name)), name);
        }
        QCOMPARE(PathFromLocal(names[0]), QString("Beratung Müller/Parzelle Süd.txt"));
        QCOMPARE(LocalPath(QString("Łódź – Nord")), names[1]);
    }

    void everyCommandReachesTheFile_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::newRow("Umlaute") << "Beratung Müller"
                                 << "Parzelle Süd.txt";
        QTest::newRow("kein westlicher Zeichensatz") << "Łódź – Nord"
                                                     << "Parzelle Süd.txt";
#ifndef _WIN32
        QTest::newRow("kein UTF-8") << PathFromLocal("Beratung M\xFCller")
                                    << PathFromLocal("Parzelle S\xFC"
                                                     "d.txt");
#endif
    }

    void everyCommandReachesTheFile() {
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QTemporaryDir dir;
        const QString folderPath = QDir::toNativeSeparators(dir.path() + '/' + folder);
        std::filesystem::create_directory(Native(folderPath));
        const QString path = folderPath + QDir::separator() + file;
        const QString pdf = folderPath + QDir::separator() + "Auswertung Müller.pdf";
        MessageLog log;

        // Save from the save window.
        {
            Application app(2026);
            app.Context().record.NameSurname = "Müller Anna";
            app.Context().record.Gradient = 9;
            AnswerDialogs answer(path);
            Click(app.Window<TfrmSave>(ScreenId::Save), "bbtFolder");
            QCOMPARE(log.Take(), QStringList{"Daten wurden in die Datei geschrieben."});
            QCOMPARE(ReadBytes(path), CalculationFileBytes(app.Context().record));
        }
        // Load through the load window and as "brisolt FILE" does, the direct save, the PDF
        // of the protocol, the comparison, and the recent file.
        {
            Application app(2026);
            app.Start();
            app.OpenAtStart(PathFromLocal(LocalPath(path)));
            QCOMPARE(log.Take(), QStringList{"Daten wurden aus der Datei eingelesen."});
            QCOMPARE(app.Context().record.NameSurname, std::string("Müller Anna"));
            QCOMPARE(app.Context().currentFile, path);
            if (!file.contains(QChar(0xDCFC))) {
                QCOMPARE(app.MainWindow()->windowTitle(), "Brisolt – " + file);
            }

            app.Context().record.Gradient = 14;
            Messages::SetSaveAnswer(Messages::SaveAnswer::Save);
            QVERIFY(app.Context().MayReplace(app.MainWindow()));
            Messages::SetSaveAnswer(Messages::SaveAnswer::Cancel);
            QCOMPARE(log.Take().size(), 1); // the question
            QCOMPARE(ReadBytes(path), CalculationFileBytes(app.Context().record));

            {
                AnswerDialogs answer(pdf);
                QVERIFY(SavePdfFromPreview([&] { app.Context().OpenEvaluationProtocol(); }));
            }
            QVERIFY(log.Take().isEmpty());
            QCOMPARE(ReadBytes(pdf).substr(0, 5), std::string("%PDF-"));

            TfrmCompare compare(app.Context());
            compare.AddFiles({path});
            QCOMPARE(compare.Comparison().variants.size(), std::size_t{1});
            QVERIFY2(compare.Comparison().variants[0].loaded,
                     compare.Comparison().variants[0].Message().c_str());
            QCOMPARE(compare.Comparison().variants[0].record.Gradient, Int{14});

            QCOMPARE(AppContext::RecentFiles().value(0), path);
            app.Context().record.NameSurname = "Anders";
            MarkAsSaved(app.Context().record);
            app.Window<TfrmOpen>(ScreenId::Open)->LoadFile(AppContext::RecentFiles().value(0));
            QCOMPARE(app.Context().record.NameSurname, std::string("Müller Anna"));
            QCOMPARE(log.Take(), QStringList{"Daten wurden aus der Datei eingelesen."});
        }
        // The load window's field with the typed path loads without a dialog.
        {
            Application app(2026);
            auto* open = app.Window<TfrmOpen>(ScreenId::Open);
            open->FileName()->setText(path);
            Click(open, "bbtFolder");
            QCOMPARE(log.Take(), QStringList{"Daten wurden aus der Datei eingelesen."});
            QCOMPARE(app.Context().record.Gradient, Int{14});
        }
        // Qt itself cannot name a folder that is not UTF-8.
        std::filesystem::remove_all(Native(folderPath));
    }

    // The load dialog refuses a write-protected file and opens in the folder used last.
    void theLoadDialogRefusesWriteProtectedFiles() {
        QTemporaryDir dir;
        const QString path = QDir::toNativeSeparators(dir.filePath("schreibgeschützt.txt"));
        {
            AssessmentRecord record;
            InitialiseRecord(record, 2026);
            SaveCalculation(record, LocalPath(path));
        }
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        MessageLog log;
        Application app(2026);
        FileDialogRequest asked;
        SetFileDialog([&](QWidget*, const FileDialogRequest& request) {
            asked = request;
            return QStringList{path};
        });
        Click(app.Window<TfrmOpen>(ScreenId::Open), "bbtFolder");
        SetFileDialog({});
        QVERIFY(asked.refuseReadOnly);
        QCOMPARE(log.Take(),
                 QStringList{"„schreibgeschützt.txt“ ist schreibgeschützt oder liegt in "
                             "einem schreibgeschützten Ordner und kann nicht geladen "
                             "werden. Bitte eine andere Datei wählen."});
        QVERIFY(app.Context().currentFile.isEmpty());
        // Typed into the field, the same file loads.
        app.Window<TfrmOpen>(ScreenId::Open)->FileName()->setText(path);
        Click(app.Window<TfrmOpen>(ScreenId::Open), "bbtFolder");
        QCOMPARE(log.Take(), QStringList{"Daten wurden aus der Datei eingelesen."});
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(StartFolder(), QFileInfo(path).absolutePath());
    }

private:
    QTemporaryDir settings_;
};

QTEST_MAIN(FilePathsTest)
#include "file_paths_test.moc"
