#include "cli/terrain_command.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <ctime>
#include <filesystem>
#include <memory>
#include <mutex>
#include <new>
#include <ostream>
#include <set>
#include <thread>

#include "cli/area_output.h"
#include "cli/cli.h"
#include "cli/output_paths.h"
#include "cli/report_command.h"
#include "key/core/errors.h"
#include "key/core/windows1252.h"
#include "key/files/file_system.h"
#include "key/measures/measures.h"
#include "key/site/step1_form.h"
#include "key/startup.h"
#include "key/walk.h"
#include "report/area_map.h"
#include "terrain/terrain.h"

namespace brisolt::cli {

namespace {

using Clock = std::chrono::steady_clock;

// What both commands read: the raster and the parcel layer.
struct LayerOptions {
    std::vector<std::string> dem; // one raster, several tiles, or folders of tiles
    std::string parcels;
    std::string layer;
    std::string id;
};

struct Inputs {
    std::unique_ptr<terrain::ElevationModel> model;
    terrain::ParcelLayer layer;
};

// Takes the value of an option; false when it has none.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string& target) {
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        return false;
    }
    target = args[++i];
    return true;
}

// Handles the options both commands have; nullopt when `a` is none of them, otherwise the
// problem (empty when the option was taken).
std::optional<std::string> TakeLayerOption(const std::vector<std::string>& args, std::size_t& i,
                                           LayerOptions& options) {
    const std::string& a = args[i];
    const auto take = [&](std::string& target, const char* problem) {
        return TakeValue(args, i, target) ? std::string() : std::string(problem);
    };
    if (a == "--dem") {
        // One raster, or tiles: every argument up to the next option, as a shell's * gives them.
        std::string dem;
        if (!TakeValue(args, i, dem)) {
            return std::string("--dem braucht ein Höhenmodell");
        }
        options.dem.push_back(dem);
        while (i + 1 < args.size() && !args[i + 1].empty() && !args[i + 1].starts_with("--")) {
            options.dem.push_back(args[++i]);
        }
        return std::string();
    }
    if (a == "--parcels") {
        return take(options.parcels, "--parcels braucht einen Parzellen-Layer");
    }
    if (a == "--layer") {
        return take(options.layer, "--layer braucht einen Layernamen");
    }
    if (a == "--id") {
        return take(options.id, "--id braucht einen Feldnamen");
    }
    return std::nullopt;
}

std::optional<std::string> MissingLayerOptions(const LayerOptions& options) {
    if (options.dem.empty()) {
        return "--dem fehlt";
    }
    if (options.parcels.empty()) {
        return "--parcels fehlt";
    }
    return std::nullopt;
}

std::string WithStop(std::string message) {
    if (!message.empty() && message.back() != '.' && message.back() != '!' &&
        message.back() != '?') {
        message += '.';
    }
    return message;
}

// The raster as messages name it: its file, or the first of several and how many more.
std::string DemName(const std::vector<std::string>& dem) {
    if (dem.size() == 1) {
        return dem.front();
    }
    return dem.front() + " und " + std::to_string(dem.size() - 1) + " weitere";
}

// Opens the raster and reads the layer; on failure reports it and returns false. Every feature
// keeps its row: one without an area to measure carries its problem.
bool OpenInputs(const LayerOptions& options, Inputs& inputs, std::ostream& err) {
    terrain::InitialiseGdal(BundledDataFolder());
    std::string error;
    inputs.model = terrain::ElevationModel::Open(options.dem, error);
    if (inputs.model == nullptr) {
        FileProblem(err, DemName(options.dem), WithStop(error));
        return false;
    }
    if (inputs.model->spatialReferenceWkt().empty()) {
        FileProblem(err, DemName(options.dem),
                    "Das Höhenmodell hat kein Koordinatensystem; die Schläge lassen sich nicht "
                    "darüber legen.");
        return false;
    }
    // The CLI writes every number with the point, in the messages too.
    inputs.model->setDecimalSeparator('.');
    terrain::ParcelLayerOptions layerOptions{options.layer, options.id};
    layerOptions.keepFeaturesWithoutArea = true;
    auto layer = terrain::ReadParcels(options.parcels, layerOptions,
                                      inputs.model->spatialReferenceWkt(), error);
    if (!layer) {
        FileProblem(err, options.parcels, WithStop(error));
        return false;
    }
    inputs.layer = std::move(*layer);
    for (const std::string& message : inputs.layer.messages) {
        FileProblem(err, options.parcels, WithStop(message));
    }
    return true;
}

// A layer whose areas all lie off the raster is in another coordinate system than it says
// (LV95 numbers labelled WGS 84): said, rather than a layer of rows without figures.
bool SomeParcelOnTheRaster(const Inputs& inputs, const LayerOptions& options, std::ostream& err) {
    bool areas = false;
    for (const terrain::Parcel& parcel : inputs.layer.parcels) {
        if (parcel.area && parcel.problem.empty() && inputs.model->Overlaps(parcel.shape)) {
            return true;
        }
        areas = areas || parcel.area;
    }
    if (areas) {
        FileProblem(err, options.parcels,
                    "Keine Parzelle liegt auf dem Höhenmodell — stimmt das Koordinatensystem der "
                    "Parzellen?");
    }
    return !areas;
}

// The terrain of one feature: its problem when it has no area to measure.
terrain::ParcelTerrain Measure(const terrain::ElevationModel& model,
                               const terrain::Parcel& parcel) {
    if (!parcel.problem.empty()) {
        terrain::ParcelTerrain t;
        t.messages.push_back(parcel.problem);
        return t;
    }
    return model.Analyse(parcel.shape);
}

// A raster that cannot be read is the run's input error, said once.
void RasterUnreadable(std::ostream& err, const LayerOptions& options, std::string reason) {
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) {
        reason.pop_back();
    }
    FileProblem(err, DemName(options.dem),
                "Das Höhenmodell lässt sich nicht lesen; die Datei ist beschädigt oder "
                "unvollständig (" +
                    reason + ").");
}

std::string Number(double x) {
    if (!std::isfinite(x)) {
        return "null";
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, x);
    return std::string(text, result.ptr);
}

std::string Sentences(const std::vector<std::string>& messages) {
    std::string out;
    for (const std::string& m : messages) {
        out += (out.empty() ? "" : " ") + WithStop(m);
    }
    return out;
}

// --- terrain ------------------------------------------------------------------------------

std::string TerrainJson(const terrain::Parcel& parcel, const terrain::ParcelTerrain& t) {
    const auto figure = [&](double x) { return t.usable ? Number(x) : std::string("null"); };
    std::string line = "{\"id\":" + JsonString(parcel.id);
    line += t.usable ? ",\"usable\":true" : ",\"usable\":false";
    line += ",\"Gradient\":" + (t.usable ? std::to_string(t.gradient) : std::string("null"));
    line += ",\"FloatDistance\":" + (t.usable ? std::to_string(t.flowLength) : std::string("null"));
    line += ",\"slope_mean\":" + figure(t.slopeMean);
    line += ",\"slope_p10\":" + figure(t.slopeP10);
    line += ",\"slope_p50\":" + figure(t.slopeP50);
    line += ",\"slope_p90\":" + figure(t.slopeP90);
    line += ",\"flow_length_m\":" + figure(t.flowLengthM);
    line += ",\"flow_length_p50_m\":" + figure(t.flowLengthP50M);
    line += ",\"flow_length_p90_m\":" + figure(t.flowLengthP90M);
    line += ",\"flow_end\":" + (t.usable && *FlowEndName(t.flowEnd) != '\0'
                                    ? JsonString(FlowEndName(t.flowEnd))
                                    : std::string("null"));
    line += ",\"concentrated_flow_m\":" + figure(t.concentratedLengthM);
    line += ",\"cells_used\":" + std::to_string(t.cellsUsed);
    line += ",\"covered_share\":" + Number(t.coveredShare);
    line += ",\"area_m2\":" + Number(t.areaM2);
    line += ",\"messages\":[";
    for (std::size_t i = 0; i < t.messages.size(); ++i) {
        line += (i > 0 ? "," : "") + JsonString(t.messages[i]);
    }
    return line + "]}\n";
}

// The columns after the messages came later; they stay behind them so that a reader counting
// columns finds the others where they were.
constexpr const char* kTerrainCsvHeader =
    "id,usable,Gradient,FloatDistance,slope_mean,slope_p10,slope_p50,slope_p90,flow_length_m,"
    "cells_used,covered_share,area_m2,messages,flow_length_p50_m,flow_length_p90_m,flow_end,"
    "concentrated_flow_m\r\n";

std::string TerrainCsv(const terrain::Parcel& parcel, const terrain::ParcelTerrain& t) {
    const auto figure = [&](double x) { return t.usable ? Number(x) : std::string(); };
    std::string line = CsvField(parcel.id) + (t.usable ? ",true," : ",false,");
    line += (t.usable ? std::to_string(t.gradient) : std::string()) + ",";
    line += (t.usable ? std::to_string(t.flowLength) : std::string());
    for (const double x : {t.slopeMean, t.slopeP10, t.slopeP50, t.slopeP90, t.flowLengthM}) {
        line += "," + figure(x);
    }
    line += "," + std::to_string(t.cellsUsed) + "," + Number(t.coveredShare) + "," +
            Number(t.areaM2) + "," + CsvField(Sentences(t.messages));
    for (const double x : {t.flowLengthP50M, t.flowLengthP90M}) {
        line += "," + figure(x);
    }
    line += "," + std::string(t.usable ? FlowEndName(t.flowEnd) : "") + "," +
            figure(t.concentratedLengthM);
    return line + "\r\n";
}

// --- area ---------------------------------------------------------------------------------

struct AreaOptions {
    LayerOptions layer;
    std::string templateFile;
    std::string filesField;
    std::string out;
    std::string map;
    bool measures = false;
    bool timings = false;
    unsigned jobs = 0;
};

std::string AttributeOf(const terrain::Parcel& parcel, const std::string& field) {
    for (const auto& [name, value] : parcel.attributes) {
        if (name == field) {
            return value;
        }
    }
    return {};
}

// A parcel's own calculation file: a relative name is taken from the layer's folder, so a
// layer and its files can be moved together.
std::string CalculationFileOf(const terrain::Parcel& parcel, const AreaOptions& options) {
    const std::string name = AttributeOf(parcel, options.filesField);
    if (name.empty()) {
        return {};
    }
    const std::filesystem::path path = PathFromUtf8(name);
    if (path.is_absolute()) {
        return name;
    }
    return Utf8FromPath(PathFromUtf8(options.layer.parcels).parent_path() / path);
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// One parcel: its terrain, then its assessment with the terrain's gradient and flow length
// entered on step 1 as the user would type them, walked; then, if asked, the measures.
void AssessParcel(const terrain::ElevationModel& model, const terrain::Parcel& parcel,
                  const AreaOptions& options, const Evaluation* templateEvaluation, Int year,
                  ParcelOutcome& outcome) {
    const auto start = Clock::now();
    outcome.terrain = Measure(model, parcel);
    const auto terrainDone = Clock::now();
    outcome.terrainSeconds = Seconds(terrainDone - start);
    if (!outcome.terrain.usable) {
        return;
    }
    Evaluation evaluation;
    if (templateEvaluation != nullptr) {
        evaluation = *templateEvaluation;
        outcome.file = options.templateFile;
    } else {
        outcome.file = CalculationFileOf(parcel, options);
        if (outcome.file.empty()) {
            outcome.problem = "Im Feld '" + options.filesField + "' steht keine Berechnungsdatei.";
            return;
        }
        evaluation = LoadCalculationFile(outcome.file, year);
        if (!evaluation.outcome.loaded) {
            outcome.loadFailed = true;
            outcome.problem =
                WithStop(ToValidUtf8(outcome.file) + ": " + evaluation.outcome.loadMessage);
            return;
        }
    }
    AssessmentRecord& record = evaluation.record;
    Step1Form step1;
    step1.Activate(record);
    step1.GradientText = std::to_string(outcome.terrain.gradient);
    step1.GradientExit(record);
    step1.FloatDistanceText = std::to_string(outcome.terrain.flowLength);
    step1.FloatDistanceExit(record);
    const AssessmentRecord inputs = record;
    const WalkOutcome walk = WalkForward(record);
    const auto walkDone = Clock::now();
    outcome.walkSeconds = Seconds(walkDone - terrainDone);
    outcome.stoppedAt = walk.stoppedAt;
    if (walk.stoppedAt > 0) {
        outcome.problem =
            "Schritt " + std::to_string(walk.stoppedAt) + ": " + WithStop(walk.stopMessage);
        return;
    }
    outcome.walked = true;
    outcome.results = {record.ST,  record.STReduced,  record.C,           record.EF, record.EL,
                       record.EFL, record.SoilLossMM, record.SoilLossTHA, record.GBF};
    if (!options.measures) {
        return;
    }
    const MeasureExploration exploration = ExploreMeasures(inputs);
    outcome.planned = true;
    // The smallest plan: the one for the first level below today's, found with the fewest
    // measures. Without it no measure lowers the level.
    for (const MeasureRow& row : exploration.rows) {
        if (row.kind == MeasureRowKind::Plan && row.target != "alle") {
            outcome.planTarget = row.target;
            outcome.planDescriptions = row.descriptions;
            break;
        }
    }
    outcome.measuresSeconds = Seconds(Clock::now() - walkDone);
}

// The cells of the windows measured at once, shared by the workers: however many there are,
// the run's windows together stay below what one parcel may take. A parcel waits until its
// window fits beside the others'.
class WindowBudget {
public:
    // `cells` at most terrain::kMaxWindowCells.
    void Take(double cells) {
        std::unique_lock lock(mutex_);
        freed_.wait(lock, [&] { return free_ >= cells; });
        free_ -= cells;
    }
    void Give(double cells) {
        {
            const std::lock_guard lock(mutex_);
            free_ = std::min(terrain::kMaxWindowCells, free_ + cells);
        }
        freed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable freed_;
    double free_ = terrain::kMaxWindowCells;
};

// Returns false when the raster could not be read; `readError` then holds GDAL's reason.
bool AssessAll(const Inputs& inputs, const AreaOptions& options,
               const Evaluation* templateEvaluation, Int year, std::vector<ParcelOutcome>& results,
               std::string& readError) {
    const std::vector<terrain::Parcel>& parcels = inputs.layer.parcels;
    results.assign(parcels.size(), ParcelOutcome{});
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::atomic<bool> outOfMemory{false};
    std::atomic<bool> unreadable{false};
    std::mutex readErrorMutex;
    WindowBudget budget;
    const auto work = [&](const terrain::ElevationModel* shared) {
        try {
            // GDAL datasets are not shared between threads: each worker reads through its own
            // handle, opened once.
            std::unique_ptr<terrain::ElevationModel> own;
            std::string error;
            if (shared == nullptr) {
                own = inputs.model->Reopen(error);
            }
            const terrain::ElevationModel* model = shared != nullptr ? shared : own.get();
            for (std::size_t i = next++; i < parcels.size() && !outOfMemory && !unreadable;
                 i = next++) {
                ParcelOutcome& outcome = results[i];
                try {
                    if (model == nullptr) {
                        outcome.problem = WithStop(error);
                    } else {
                        const double cells = std::min(model->WindowCells(parcels[i].shape),
                                                      terrain::kMaxWindowCells);
                        budget.Take(cells);
                        try {
                            AssessParcel(*model, parcels[i], options, templateEvaluation, year,
                                         outcome);
                        } catch (...) {
                            budget.Give(cells);
                            throw;
                        }
                        budget.Give(cells);
                        if (!outcome.terrain.readError.empty() && !unreadable.exchange(true)) {
                            const std::lock_guard lock(readErrorMutex);
                            readError = outcome.terrain.readError;
                        }
                    }
                } catch (const std::bad_alloc&) {
                    throw;
                } catch (const std::exception& e) {
                    outcome.problem = WithStop(MessageOf(e));
                }
                ++done;
            }
        } catch (const std::bad_alloc&) {
            // Ends the whole run with the program's message once every worker has stopped.
            outOfMemory = true;
        }
        if (outOfMemory || unreadable) {
            done = parcels.size();
        }
    };
    // More workers than cores are never faster: they only wait for each other.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const unsigned jobs = static_cast<unsigned>(std::min<std::size_t>(
        std::min(options.jobs, cores), std::max<std::size_t>(1, parcels.size())));
    const bool progress = isatty(STDERR_FILENO) != 0;
    std::vector<std::thread> workers;
    for (unsigned j = 1; j < jobs; ++j) {
        workers.emplace_back(work, nullptr);
    }
    if (!progress) {
        work(inputs.model.get());
    } else {
        std::thread last(work, inputs.model.get());
        while (done < parcels.size()) {
            std::fprintf(stderr, "\rParzelle %zu von %zu", done.load(), parcels.size());
            std::fflush(stderr);
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
        last.join();
        std::fprintf(stderr, "\rParzelle %zu von %zu\n", parcels.size(), parcels.size());
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    if (outOfMemory) {
        throw std::bad_alloc();
    }
    return !unreadable;
}

report::AreaMap MapOf(const Inputs& inputs, const AreaOptions& options,
                      const std::vector<ParcelOutcome>& results) {
    report::AreaMap map;
    double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
    const std::vector<terrain::Parcel>& parcels = inputs.layer.parcels;
    for (std::size_t i = 0; i < parcels.size(); ++i) {
        report::MapParcel parcel;
        for (const terrain::Ring& ring : parcels[i].shape.rings) {
            std::vector<report::MapPoint> points;
            points.reserve(ring.size());
            for (const terrain::Point p : ring) {
                points.push_back({p.x, p.y});
                minX = std::min(minX, p.x);
                maxX = std::max(maxX, p.x);
                minY = std::min(minY, p.y);
                maxY = std::max(maxY, p.y);
            }
            parcel.rings.push_back(std::move(points));
        }
        if (results[i].walked) {
            parcel.level = results[i].results.GBF;
        }
        map.parcels.push_back(std::move(parcel));
        std::vector<report::MapPoint> path;
        for (const terrain::Point p : results[i].terrain.flowPath) {
            path.push_back({p.x, p.y});
        }
        if (path.size() > 1) {
            map.flowPaths.push_back(std::move(path));
        }
        for (const std::vector<terrain::Point>& line : results[i].terrain.concentratedFlow) {
            std::vector<report::MapPoint> points;
            for (const terrain::Point p : line) {
                points.push_back({p.x, p.y});
            }
            map.concentratedFlow.push_back(std::move(points));
        }
    }
    if (!(minX <= maxX)) {
        inputs.model->extent(minX, minY, maxX, maxY);
    }
    map.frame = report::FrameFor(minX, minY, maxX, maxY);
    const report::MapFrame& f = map.frame;
    // The relief of a frame with more cells than this (parcels far apart on a fine raster
    // without overviews) is drawn only around the parcels: the rest of the page would cost
    // reading the whole raster for a backdrop.
    constexpr double kHillshadeCells = 100e6;
    const bool whole = inputs.model->HillshadeCells(f.minX, f.minY, f.maxX, f.maxY, f.columns,
                                                    f.rows) <= kHillshadeCells;
    std::vector<std::array<double, 4>> around;
    if (!whole) {
        // A parcel and its surroundings: half its size or ten pixels, whichever is more.
        const double pixel = (f.maxX - f.minX) / std::max(f.columns, 1);
        for (const terrain::Parcel& parcel : parcels) {
            double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
            for (const terrain::Ring& ring : parcel.shape.rings) {
                for (const terrain::Point p : ring) {
                    x0 = std::min(x0, p.x);
                    x1 = std::max(x1, p.x);
                    y0 = std::min(y0, p.y);
                    y1 = std::max(y1, p.y);
                }
            }
            if (x0 <= x1) {
                const double margin = std::max({(x1 - x0) / 2, (y1 - y0) / 2, 10 * pixel});
                around.push_back({x0 - margin, y0 - margin, x1 + margin, y1 + margin});
            }
        }
    }
    map.hillshade = inputs.model->Hillshade(f.minX, f.minY, f.maxX, f.maxY, f.columns, f.rows,
                                            whole ? nullptr : &around);
    const std::size_t tiles = inputs.model->fileCount();
    map.sources = {
        "Höhenmodell: " + ToValidUtf8(DemName(options.layer.dem)) +
            (tiles > 1 ? " (" + std::to_string(tiles) + " Kacheln)" : "") +
            (whole ? "" : "; Relief nur um die Parzellen (für die ganze Karte zu gross)"),
        "Parzellen: " + ToValidUtf8(options.layer.parcels) + " (" + std::to_string(parcels.size()) +
            ")",
        options.templateFile.empty()
            ? "Berechnungsdateien aus dem Feld '" + options.filesField + "'"
            : "Berechnung: " + ToValidUtf8(options.templateFile)};
    map.date = SystemDateText();
    return map;
}

} // namespace

bool TerrainAvailable() {
    return true;
}

int Terrain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    LayerOptions options;
    std::string format = "json";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (const auto problem = TakeLayerOption(args, i, options)) {
            if (!problem->empty()) {
                return UsageError(err, *problem);
            }
        } else if (a == "--format") {
            if (!TakeValue(args, i, format) || (format != "json" && format != "csv")) {
                return UsageError(err, "--format braucht json oder csv");
            }
        } else {
            return UsageError(err, "unerwartetes Argument '" + a + "'");
        }
    }
    if (const auto missing = MissingLayerOptions(options)) {
        return UsageError(err, *missing);
    }
    Inputs inputs;
    if (!OpenInputs(options, inputs, err) || !SomeParcelOnTheRaster(inputs, options, err)) {
        return 1;
    }
    if (format == "csv") {
        out << kTerrainCsvHeader;
    }
    for (const terrain::Parcel& parcel : inputs.layer.parcels) {
        const terrain::ParcelTerrain t = Measure(*inputs.model, parcel);
        if (!t.readError.empty()) {
            out.flush();
            RasterUnreadable(err, options, t.readError);
            return 1;
        }
        out << (format == "csv" ? TerrainCsv(parcel, t) : TerrainJson(parcel, t));
    }
    out.flush();
    return 0;
}

int Area(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    AreaOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string jobs;
        if (const auto problem = TakeLayerOption(args, i, options.layer)) {
            if (!problem->empty()) {
                return UsageError(err, *problem);
            }
        } else if (a == "--template") {
            if (!TakeValue(args, i, options.templateFile)) {
                return UsageError(err, "--template braucht eine Berechnungsdatei");
            }
        } else if (a == "--files") {
            if (!TakeValue(args, i, options.filesField)) {
                return UsageError(err, "--files braucht einen Feldnamen");
            }
        } else if (a == "--out") {
            if (!TakeValue(args, i, options.out)) {
                return UsageError(err, "--out braucht eine Ausgabedatei");
            }
        } else if (a == "--map") {
            if (!TakeValue(args, i, options.map)) {
                return UsageError(err, "--map braucht eine Ausgabedatei");
            }
        } else if (a == "--measures") {
            options.measures = true;
        } else if (a == "--timings") {
            options.timings = true;
        } else if (a == "--jobs") {
            unsigned long n = 0;
            if (!TakeValue(args, i, jobs) ||
                jobs.find_first_not_of("0123456789") != std::string::npos || jobs.size() > 4 ||
                (n = std::stoul(jobs)) == 0) {
                return UsageError(err, "--jobs braucht eine Zahl von 1 bis 9999");
            }
            options.jobs = static_cast<unsigned>(n);
        } else {
            return UsageError(err, "unerwartetes Argument '" + a + "'");
        }
    }
    if (const auto missing = MissingLayerOptions(options.layer)) {
        return UsageError(err, *missing);
    }
    if (options.templateFile.empty() == options.filesField.empty()) {
        return UsageError(err, "area braucht entweder --template DATEI oder --files FELD");
    }
    if (options.out.empty()) {
        return UsageError(err, "--out fehlt");
    }
    if (!options.map.empty() && !ReportsAvailable()) {
        return UsageError(err, "diese Ausgabe wurde ohne PDF-Unterstützung gebaut");
    }
    std::vector<std::string> outputs{options.out};
    if (!options.map.empty()) {
        outputs.push_back(options.map);
    }
    std::vector<std::string> inputFiles = options.layer.dem;
    inputFiles.push_back(options.layer.parcels);
    if (!options.templateFile.empty()) {
        inputFiles.push_back(options.templateFile);
    }
    if (const auto clash = OutputClash(outputs, inputFiles)) {
        return UsageError(err, *clash);
    }
    if (options.jobs == 0) {
        options.jobs = std::max(1u, std::thread::hardware_concurrency());
    }

    Inputs inputs;
    if (!OpenInputs(options.layer, inputs, err) ||
        !SomeParcelOnTheRaster(inputs, options.layer, err)) {
        return 1;
    }
    if (!options.filesField.empty()) {
        const auto& names = inputs.layer.fieldNames;
        if (std::find(names.begin(), names.end(), options.filesField) == names.end()) {
            FileProblem(err, options.layer.parcels,
                        "Der Layer hat kein Feld '" + options.filesField + "'.");
            return 1;
        }
    }
    // Every file the run reads, not only the ones named: the raster's side files, tiles and
    // sources, the layer's side files, each parcel's calculation file.
    std::set<std::string> read(inputFiles.begin(), inputFiles.end());
    read.insert(inputs.model->files().begin(), inputs.model->files().end());
    read.insert(inputs.layer.files.begin(), inputs.layer.files.end());
    if (!options.filesField.empty()) {
        for (const terrain::Parcel& parcel : inputs.layer.parcels) {
            if (std::string file = CalculationFileOf(parcel, options); !file.empty()) {
                read.insert(std::move(file));
            }
        }
    }
    if (const auto clash =
            OutputClash(outputs, std::vector<std::string>(read.begin(), read.end()))) {
        return UsageError(err, *clash);
    }
    // Found now rather than after the work.
    for (const std::string& output : outputs) {
        if (const auto problem = NotWritable(output)) {
            FileProblem(err, output, WithStop(*problem));
            return 1;
        }
    }
    const Int year = CurrentCalendarYear();
    BuildKeyTables();
    std::optional<Evaluation> templateEvaluation;
    if (!options.templateFile.empty()) {
        templateEvaluation = LoadCalculationFile(options.templateFile, year);
        if (!templateEvaluation->outcome.loaded) {
            FileProblem(err, options.templateFile,
                        WithStop(templateEvaluation->outcome.loadMessage));
            return 1;
        }
    }

    std::vector<ParcelOutcome> results;
    std::string readError;
    if (!AssessAll(inputs, options, templateEvaluation ? &*templateEvaluation : nullptr, year,
                   results, readError)) {
        RasterUnreadable(err, options.layer, readError);
        return 1;
    }

    int status = 0;
    std::size_t withoutResult = 0;
    AreaTimes times;
    for (const ParcelOutcome& r : results) {
        withoutResult += r.walked ? 0 : 1;
        status = r.loadFailed ? 1 : status;
        times.terrain += r.terrainSeconds;
        times.walk += r.walkSeconds;
        times.measures += r.measuresSeconds;
    }
    std::string error;
    if (!WriteAreaLayer(options.out, inputs.layer, inputs.model->spatialReferenceWkt(), results,
                        options.measures, error)) {
        FileProblem(err, options.out, WithStop(error));
        return 1;
    }
    out << ToValidUtf8(options.out) << "\n";
    if (!options.map.empty() &&
        !WriteReportPdf(report::BuildAreaMap(MapOf(inputs, options, results)), options.map, out,
                        err)) {
        status = 1;
    }
    if (withoutResult > 0) {
        err << "brisolt-cli: " << withoutResult << " von " << results.size()
            << " Parzellen ohne Ergebnis; der Grund steht im Feld 'messages'.\n";
    }
    if (options.timings) {
        const double n = std::max<double>(1, static_cast<double>(results.size()));
        char line[160];
        std::snprintf(line, sizeof line,
                      "Zeit je Parzelle (ms, Summe der Worker): Gelände %.2f, Schritte %.2f, "
                      "Massnahmen %.2f\n",
                      times.terrain / n * 1000, times.walk / n * 1000, times.measures / n * 1000);
        err << line;
    }
    out.flush();
    return status;
}

} // namespace brisolt::cli
