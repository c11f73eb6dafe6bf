#include "cli/report_command.h"

#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <memory>
#include <ostream>

#include "cli/cli.h"
#include "cli/output_paths.h"
#include "key/core/number_text.h"
#include "key/core/windows1252.h"
#include "key/startup.h"
#include "key/walk.h"
#include "pdf/bundled_fonts.h"
#include "pdf/page_painter.h"
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
    pdf::UseBundledFonts();
}

} // namespace

bool ReportsAvailable() {
    return true;
}

bool WriteReportPdf(const report::Page& page, const std::string& path, std::ostream& out,
                    std::ostream& err) {
    return WriteReportPdf(std::vector<report::Page>{page}, path, out, err);
}

bool WriteReportPdf(const std::vector<report::Page>& page, const std::string& path,
                    std::ostream& out, std::ostream& err) {
    EnsureGuiApplication();
    const QString error = pdf::WritePdf(page, path);
    if (!error.isEmpty()) {
        FileProblem(err, path, error.toStdString());
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
            if (args[i + 1].empty()) {
                err << "brisolt-cli: " << a << " braucht eine Ausgabedatei\n";
                return 2;
            }
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
    std::vector<std::string> outputs{protocol};
    if (!sheet.empty()) {
        outputs.push_back(sheet);
    }
    if (const auto clash = OutputClash(outputs, {file})) {
        err << "brisolt-cli: " << ToValidUtf8(*clash) << "\n";
        return 2;
    }
    const Evaluation evaluation = EvaluateCalculationFile(file, CurrentCalendarYear());
    if (!evaluation.outcome.loaded) {
        FileProblem(err, file, evaluation.outcome.loadMessage);
        return 1;
    }
    if (evaluation.outcome.stoppedAt > 0) {
        // The reports validate nothing: they print what the record holds.
        err << "brisolt-cli: Schritt " << evaluation.outcome.stoppedAt << ": "
            << ToValidUtf8(evaluation.outcome.stopMessage) << "\n";
    }
    bool ok =
        WriteReportPdf(report::BuildEvaluationProtocol(evaluation.record, '.'), protocol, out, err);
    if (!sheet.empty()) {
        ok = WriteReportPdf(report::BuildRotationSheet(evaluation.record, '.'), sheet, out, err) &&
             ok;
    }
    return ok ? 0 : 1;
}

} // namespace brisolt::cli
