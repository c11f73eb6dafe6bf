#include "cli/cli.h"

#include <cctype>
#include <cmath>
#include <exception>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string_view>

#include "cli/compare_command.h"
#include "cli/measures_command.h"
#include "cli/report_command.h"
#include "cli/terrain_command.h"
#include "key/core/errors.h"
#include "key/core/number_text.h"
#include "key/core/record_fields.h"
#include "key/core/texts.h"
#include "key/core/windows1252.h"
#include "key/files/calculation_file.h"
#include "key/rotation/rotation_checks.h"
#include "key/startup.h"
#include "key/walk.h"

namespace brisolt::cli {

namespace {

constexpr const char* kUsage =
    "Aufruf:\n"
    "  brisolt-cli evaluate [--format json|csv] DATEI...\n"
    "      Lädt jede Berechnungsdatei in eine neue Abschätzung, geht alle Schritte mit\n"
    "      \"Weiter\" durch und schreibt Eingaben und Ergebnisse (JSON: ein Objekt je Zeile).\n"
    "  brisolt-cli report DATEI --protocol AUSWERTUNG.pdf [--sheet FRUCHTFOLGE.pdf]\n"
    "      Lädt die Datei, geht alle Schritte durch und schreibt das Auswerteprotokoll\n"
    "      (und das Fruchtfolgeblatt) als PDF.\n"
    "  brisolt-cli new DATEI\n"
    "      Schreibt die Berechnungsdatei einer neuen Abschätzung (Vorgabewerte).\n"
    "  brisolt-cli measures [--format json|csv] [--variants ORDNER] [--pdf AUS.pdf]\n"
    "                      [--sheet BLATT.pdf] DATEI...\n"
    "      Sucht Massnahmen, die die Erosionsgefährdung senken: einzelne Massnahmen und\n"
    "      Kombinationen für jede erreichbare Gefährdungsstufe (JSON: ein Objekt je Zeile);\n"
    "      --sheet schreibt das Massnahmenblatt für den Betrieb.\n"
    "  brisolt-cli compare [--format json|csv] [--only-differences] [--pdf AUS.pdf] DATEI "
    "DATEI...\n"
    "      Stellt Berechnungen (Varianten) nebeneinander: Eingaben und Ergebnisse je Datei,\n"
    "      mit der Angabe, welche Zeilen sich unterscheiden.\n"
    "  brisolt-cli terrain --dem HÖHENMODELL... --parcels LAYER [--layer NAME] [--id FELD]\n"
    "                      [--format json|csv]\n"
    "      Misst Gefälle und Fliessstrecke jeder Parzelle im Höhenmodell (nur mit GDAL).\n"
    "  brisolt-cli area --dem HÖHENMODELL... --parcels LAYER [--layer NAME] [--id FELD]\n"
    "                   (--template DATEI | --files FELD) --out AUS.gpkg [--map KARTE.pdf]\n"
    "                   [--measures] [--jobs N]\n"
    "      Rechnet jede Parzelle mit Gefälle und Fliessstrecke aus dem Höhenmodell durch\n"
    "      und schreibt die Ergebnisse als GeoPackage (nur mit GDAL).\n"
    "      HÖHENMODELL...: eine Rasterdatei, mehrere Kacheln oder ein Ordner mit Kacheln.\n"
    "  brisolt-cli --help | --version\n";

// A field as CSV writes it: text as it is, numbers in round-trip form, NaN as empty text.
std::string PlainText(const RecordField& field, const AssessmentRecord& record) {
    switch (field.type) {
    case FieldType::Text:
        return field.Text(record);
    case FieldType::Int:
    case FieldType::Index:
        return std::to_string(field.Number(record));
    case FieldType::Real:
        break;
    }
    const Real real = field.RealValue(record);
    return std::isfinite(real) ? FormatRoundTrip(real) : std::string();
}

std::string JsonValue(const RecordField& field, const AssessmentRecord& record) {
    switch (field.type) {
    case FieldType::Text:
        return JsonString(field.Text(record));
    case FieldType::Int:
    case FieldType::Index:
        return std::to_string(field.Number(record));
    case FieldType::Real:
        break;
    }
    return JsonNumber(field.RealValue(record));
}

struct Row {
    std::string file;
    Evaluation evaluation;
};

void WriteJson(std::ostream& out, const Row& row) {
    const WalkOutcome& o = row.evaluation.outcome;
    std::string line = "{\"file\":" + JsonString(row.file);
    line += ",\"loaded\":";
    line += o.loaded ? "true" : "false";
    line += ",\"load_message\":" + JsonString(o.loadMessage);
    line += ",\"stopped_at\":" + (o.stoppedAt > 0 ? std::to_string(o.stoppedAt) : "null");
    line += ",\"stop_message\":" + (o.stoppedAt > 0 ? JsonString(o.stopMessage) : "null");
    const AssessmentRecord& record = row.evaluation.record;
    for (const RecordField& field : RecordFields()) {
        line += ",\"" + std::string(field.name) + "\":" + JsonValue(field, record);
    }
    line += ",\"rotation\":[";
    const RotationExtent extent = FindRotationExtent(record);
    for (int k = extent.First; !extent.Empty() && k <= extent.Last; ++k) {
        const RotationYear& y = record.RotationYearAt(k);
        line += k == extent.First ? "{" : ",{";
        line += "\"year\":" + std::to_string(k) + ",\"main\":" + JsonString(y.y) +
                ",\"main_ref\":" + JsonString(y.z) + ",\"period\":" + JsonString(y.w) +
                ",\"period_ref\":" + JsonString(y.x) + "}";
    }
    line += "]";
    line += ",\"display\":" + DisplayJson(record) + "}\n";
    out << line;
}

void WriteCsvHeader(std::ostream& out) {
    std::string line = "file,loaded,load_message,stopped_at,stop_message";
    for (const RecordField& field : RecordFields()) {
        line += ",";
        line += field.name;
    }
    for (const auto& field : DisplayFields(AssessmentRecord{})) {
        line += ",display_" + field.first;
    }
    out << line << "\r\n";
}

void WriteCsv(std::ostream& out, const Row& row) {
    const WalkOutcome& o = row.evaluation.outcome;
    std::string line = CsvField(row.file);
    line += o.loaded ? ",true," : ",false,";
    line += CsvField(o.loadMessage);
    line += "," + (o.stoppedAt > 0 ? std::to_string(o.stoppedAt) : std::string());
    line += "," + CsvField(o.stoppedAt > 0 ? o.stopMessage : std::string());
    for (const RecordField& field : RecordFields()) {
        line += "," + CsvField(PlainText(field, row.evaluation.record));
    }
    for (const auto& field : DisplayFields(row.evaluation.record)) {
        line += "," + CsvField(field.second);
    }
    out << line << "\r\n";
}

int Evaluate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string format = "json";
    std::vector<std::string> files;
    bool optionsDone = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsDone && a == "--") {
            optionsDone = true;
        } else if (!optionsDone && (a == "--format" || a.rfind("--format=", 0) == 0)) {
            if (a == "--format") {
                if (i + 1 >= args.size()) {
                    return UsageError(err, "--format braucht json oder csv");
                }
                format = args[++i];
            } else {
                format = a.substr(9);
            }
            if (format != "json" && format != "csv") {
                return UsageError(err, "unbekanntes Format '" + format + "'");
            }
        } else if (!optionsDone && a.size() > 1 && a[0] == '-') {
            return UsageError(err, "unbekannte Option '" + a + "'");
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) {
        return UsageError(err, "keine Datei angegeben");
    }
    const Int year = CurrentCalendarYear();
    BuildKeyTables();
    if (format == "csv") {
        WriteCsvHeader(out);
    }
    int status = 0;
    for (const std::string& file : files) {
        const Row row{file, EvaluateCalculationFile(file, year)};
        if (!row.evaluation.outcome.loaded) {
            status = 1;
        }
        if (format == "csv") {
            WriteCsv(out, row);
        } else {
            WriteJson(out, row);
        }
    }
    out.flush();
    return status;
}

int New(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1 || args[0].empty() || (args[0].size() > 1 && args[0][0] == '-')) {
        return UsageError(err, "new braucht genau eine Datei");
    }
    try {
        out << SaveCalculation(FreshRecord(CurrentCalendarYear()), args[0]) << "\n";
    } catch (const std::exception& error) {
        std::string message = MessageOf(error);
        if (!message.empty() && message.back() != '.') {
            message += '.';
        }
        FileProblem(err, args[0], message);
        return 1;
    }
    return 0;
}

} // namespace

void FileProblem(std::ostream& err, const std::string& path, const std::string& message) {
    err << "brisolt-cli: " << ToValidUtf8(path) << ": " << ToValidUtf8(message) << "\n";
}

int UsageError(std::ostream& err, const std::string& problem) {
    err << "brisolt-cli: " << ToValidUtf8(problem) << "\n\n" << kUsage;
    return 2;
}

std::string JsonNumber(Real x) {
    return std::isfinite(x) ? FormatRoundTrip(x) : std::string("null");
}

std::vector<std::pair<std::string, std::string>> DisplayFields(const AssessmentRecord& record) {
    const ResultDisplay d = DisplayResults(record, '.');
    return {
        {"EF", d.EF}, {"EFL", d.EFL}, {"SoilLossMM", d.SoilLossMM}, {"SoilLossTHA", d.SoilLossTHA},
        {"C", d.C},   {"GBF", d.GBF}};
}

std::string DisplayJson(const AssessmentRecord& record) {
    std::string out = "{";
    bool first = true;
    for (const auto& [name, text] : DisplayFields(record)) {
        out += (first ? "\"" : ",\"") + name + "\":" + JsonString(text);
        first = false;
    }
    return out + "}";
}

std::string JsonString(const std::string& utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    // File names and damaged files can bring any bytes; JSON must stay valid UTF-8.
    for (const char ch : ToValidUtf8(utf8)) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

namespace {

// A number as the program writes numbers: -12, 3.5, -2.5e-05.
bool PlainNumber(const std::string& text) {
    std::size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
    const std::size_t digits = i;
    while (i < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[i])) != 0 || text[i] == '.')) {
        ++i;
    }
    if (i == digits) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        i += i + 1 < text.size() && (text[i + 1] == '-' || text[i + 1] == '+') ? 2 : 1;
        const std::size_t exponent = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) {
            ++i;
        }
        return i == text.size() && i > exponent;
    }
    return i == text.size();
}

} // namespace

std::string CsvField(const std::string& bytes) {
    std::string text = ToValidUtf8(bytes);
    // A spreadsheet runs a cell that begins like a formula; an apostrophe in front makes it
    // text, as spreadsheets themselves mark text. Numbers stay numbers.
    if (!text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos &&
        !PlainNumber(text)) {
        text.insert(0, 1, '\'');
    }
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

namespace {

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // Machine output always uses the decimal point.
    SetDecimalSeparator('.');
    if (args.empty()) {
        return UsageError(err, "kein Befehl angegeben");
    }
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        out << kUsage;
        return 0;
    }
    if (command == "--version") {
        out << texts::kProgramName << ' ' << texts::kVersion << '\n';
        return 0;
    }
    if (command == "evaluate") {
        return Evaluate(rest, out, err);
    }
    if (command == "report") {
        return Report(rest, out, err);
    }
    if (command == "new") {
        return New(rest, out, err);
    }
    if (command == "measures") {
        return Measures(rest, out, err);
    }
    if (command == "compare") {
        return Compare(rest, out, err);
    }
    if (command == "terrain") {
        return Terrain(rest, out, err);
    }
    if (command == "area") {
        return Area(rest, out, err);
    }
    return UsageError(err, "unbekannter Befehl '" + command + "'");
}

} // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // A request larger than the machine can hold ends with a message, not with an abort.
    try {
        return RunCommand(args, out, err);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    out.flush();
    err << "brisolt-cli: " << texts::files::kOutOfMemory << ".\n";
    return 1;
}

} // namespace brisolt::cli
