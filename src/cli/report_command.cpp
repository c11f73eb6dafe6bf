#include "cli/report_command.h"

#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "pdf/page_painter.h"
#include "key/core/number_text.h"
#include "key/core/windows1252.h"
#include "key/startup.h"
#include "key/walk.h"
#include "report/reports.h"

namespace brisolt::cli {

namespace {

// Fonts and painting need a Qt application; the CLI never opens a window.
void EnsureGuiApplication() {
    if (QGuiApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The CLI speaks for itself; Qt's own notes (runtime folder, fonts) are not for its users.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            fprintf(stderr, "%s\n", qPrintable(text));
        }
    });
    static int argc = 1;
    static char name[] = "brisolt-cli";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

// Writes the page to path, whatever bytes its name holds; returns the error text or "".
// Qt names files in UTF-8 only, so a name with other bytes (an old Latin-1 name) is written
// under a UTF-8 name in the same folder and then given its own name.
QString WritePdfTo(const std::vector<report::Page>& page, const std::string& path) {
    if (ToValidUtf8(path) == path) {
        return pdf::WritePdf(page, QString::fromStdString(path));
    }
#ifdef _WIN32
    // Windows names are UTF-16; the command line arrives as UTF-8 and never gets here.
    return QStringLiteral("Die Datei kann nicht geschrieben werden.");
#else
    const std::size_t slash = path.rfind('/');
    std::string temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
                       ".brisolt-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return QStringLiteral("Die Datei kann nicht geschrieben werden.");
    }
    // The permissions a file of that name gets when written directly.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    ::close(fd);
    QString error = pdf::WritePdf(page, QString::fromStdString(temp));
    if (error.isEmpty() && ::rename(temp.c_str(), path.c_str()) != 0) {
        error = QStringLiteral("Die Datei kann nicht geschrieben werden.");
    }
    if (!error.isEmpty()) {
        ::unlink(temp.c_str());
    }
    return error;
#endif
}

} // namespace

bool ReportsAvailable() { return true; }

bool WriteReportPdf(const report::Page& page, const std::string& path, std::ostream& out,
                    std::ostream& err) {
    return WriteReportPdf(std::vector<report::Page>{page}, path, out, err);
}

bool WriteReportPdf(const std::vector<report::Page>& page, const std::string& path,
                    std::ostream& out, std::ostream& err) {
    EnsureGuiApplication();
    const QString error = WritePdfTo(page, path);
    if (!error.isEmpty()) {
        err << "brisolt-cli: " << ToValidUtf8(path) << ": " << error.toStdString() << "\n";
        return false;
    }
    out << ToValidUtf8(path) << "\n";
    return true;
}

int Report(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string file;
    std::string protocol;
    std::string sheet;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--protocol" || a == "--sheet") && i + 1 < args.size()) {
            (a == "--protocol" ? protocol : sheet) = args[++i];
        } else if (!a.empty() && a[0] != '-' && file.empty()) {
            file = a;
        } else {
            err << "brisolt-cli: unerwartetes Argument '" << ToValidUtf8(a) << "'\n";
            return 2;
        }
    }
    if (file.empty() || protocol.empty()) {
        err << "brisolt-cli: report braucht DATEI und --protocol AUSGABE.pdf\n";
        return 2;
    }
    const Evaluation evaluation = EvaluateCalculationFile(file, CurrentCalendarYear());
    if (!evaluation.outcome.loaded) {
        err << "brisolt-cli: " << ToValidUtf8(file) << ": "
            << ToValidUtf8(evaluation.outcome.loadMessage) << "\n";
        return 1;
    }
    if (evaluation.outcome.stoppedAt > 0) {
        // The reports validate nothing: they print what the record holds.
        err << "brisolt-cli: Schritt " << evaluation.outcome.stoppedAt << ": "
            << ToValidUtf8(evaluation.outcome.stopMessage) << "\n";
    }
    bool ok = WriteReportPdf(report::BuildEvaluationProtocol(evaluation.record, '.'), protocol,
                             out, err);
    if (!sheet.empty()) {
        ok = WriteReportPdf(report::BuildRotationSheet(evaluation.record, '.'), sheet, out, err) &&
             ok;
    }
    return ok ? 0 : 1;
}

} // namespace brisolt::cli
