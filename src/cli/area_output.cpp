#include "cli/area_output.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_vsi.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <string_view>

#include "cli/area_styles.h"
#include "key/core/errors.h"
#include "key/core/texts.h"
#include "key/core/windows1252.h"
#include "key/files/file_system.h"

namespace brisolt::cli {

namespace {

std::string GdalProblem(const char* what) {
    const char* detail = CPLGetLastErrorMsg();
    std::string message = what;
    if (detail != nullptr && *detail != '\0') {
        message += std::string(" (") + detail + ")";
    }
    return message;
}

std::string Sentence(std::string message) {
    if (!message.empty() && message.back() != '.' && message.back() != '!' &&
        message.back() != '?') {
        message += '.';
    }
    return message;
}

struct SrsDeleter {
    void operator()(OGRSpatialReferenceH srs) const { OSRRelease(srs); }
};
using Srs = std::unique_ptr<std::remove_pointer_t<OGRSpatialReferenceH>, SrsDeleter>;

Srs SrsOf(const std::string& wkt) {
    if (wkt.empty()) {
        return nullptr;
    }
    Srs srs(OSRNewSpatialReference(wkt.c_str()));
    if (srs) {
        OSRSetAxisMappingStrategy(srs.get(), OAMS_TRADITIONAL_GIS_ORDER);
    }
    return srs;
}

enum class Kind { Text, Int, Int64, Real };

// One column of the parcel layer and how a parcel's value is written into it.
struct Column {
    const char* name;
    Kind kind;
    std::function<void(OGRFeatureH, int, const ParcelOutcome&)> set;
};

void SetReal(OGRFeatureH f, int i, bool present, double x) {
    if (present && std::isfinite(x)) {
        OGR_F_SetFieldDouble(f, i, x);
    } else {
        OGR_F_SetFieldNull(f, i);
    }
}

Column TerrainFigure(const char* name, double terrain::ParcelTerrain::*member) {
    return {name, Kind::Real, [member](OGRFeatureH f, int i, const ParcelOutcome& r) {
                SetReal(f, i, r.terrain.usable, r.terrain.*member);
            }};
}

Column Result(const char* name, Real ParcelResults::*member) {
    return {name, Kind::Real, [member](OGRFeatureH f, int i, const ParcelOutcome& r) {
                SetReal(f, i, r.walked, static_cast<double>(r.results.*member));
            }};
}

std::string Messages(const ParcelOutcome& r) {
    std::string out;
    for (const std::string& m : r.terrain.messages) {
        out += (out.empty() ? "" : " ") + Sentence(m);
    }
    if (!r.problem.empty()) {
        out += (out.empty() ? "" : " ") + r.problem;
    }
    return out;
}

std::vector<Column> Columns(bool measures) {
    std::vector<Column> columns{
        {"Gradient", Kind::Int,
         [](OGRFeatureH f, int i, const ParcelOutcome& r) {
             r.terrain.usable ? OGR_F_SetFieldInteger(f, i, r.terrain.gradient)
                              : OGR_F_SetFieldNull(f, i);
         }},
        {"FloatDistance", Kind::Int,
         [](OGRFeatureH f, int i, const ParcelOutcome& r) {
             r.terrain.usable ? OGR_F_SetFieldInteger(f, i, r.terrain.flowLength)
                              : OGR_F_SetFieldNull(f, i);
         }},
        TerrainFigure("slope_mean", &terrain::ParcelTerrain::slopeMean),
        TerrainFigure("slope_p10", &terrain::ParcelTerrain::slopeP10),
        TerrainFigure("slope_p50", &terrain::ParcelTerrain::slopeP50),
        TerrainFigure("slope_p90", &terrain::ParcelTerrain::slopeP90),
        TerrainFigure("flow_length_m", &terrain::ParcelTerrain::flowLengthM),
        TerrainFigure("flow_length_p50_m", &terrain::ParcelTerrain::flowLengthP50M),
        TerrainFigure("flow_length_p90_m", &terrain::ParcelTerrain::flowLengthP90M),
        {"flow_end", Kind::Text,
         [](OGRFeatureH f, int i, const ParcelOutcome& r) {
             const char* end = FlowEndName(r.terrain.flowEnd);
             r.terrain.usable&&* end != '\0' ? OGR_F_SetFieldString(f, i, end)
                                             : OGR_F_SetFieldNull(f, i);
         }},
        TerrainFigure("concentrated_flow_m", &terrain::ParcelTerrain::concentratedLengthM),
        {"cells_used", Kind::Int64,
         [](OGRFeatureH f, int i, const ParcelOutcome& r) {
             OGR_F_SetFieldInteger64(f, i, static_cast<GIntBig>(r.terrain.cellsUsed));
         }},
        {"covered_share", Kind::Real,
         [](OGRFeatureH f, int i, const ParcelOutcome& r) {
             SetReal(f, i, true, r.terrain.coveredShare);
         }},
        {"area_m2", Kind::Real,
         [](OGRFeatureH f, int i, const ParcelOutcome& r) {
             SetReal(f, i, true, r.terrain.areaM2);
         }},
        {"file", Kind::Text,
         [](OGRFeatureH f, int i, const ParcelOutcome& r) {
             OGR_F_SetFieldString(f, i, ToValidUtf8(r.file).c_str());
         }},
        {"stopped_at", Kind::Int,
         [](OGRFeatureH f, int i, const ParcelOutcome& r) {
             r.stoppedAt > 0 ? OGR_F_SetFieldInteger(f, i, r.stoppedAt) : OGR_F_SetFieldNull(f, i);
         }},
        Result("ST", &ParcelResults::ST),
        Result("STReduced", &ParcelResults::STReduced),
        Result("C", &ParcelResults::C),
        Result("EF", &ParcelResults::EF),
        Result("EL", &ParcelResults::EL),
        Result("EFL", &ParcelResults::EFL),
        Result("SoilLossMM", &ParcelResults::SoilLossMM),
        Result("SoilLossTHA", &ParcelResults::SoilLossTHA),
        {"GBF", Kind::Text,
         [](OGRFeatureH f, int i, const ParcelOutcome& r) {
             r.walked ? OGR_F_SetFieldString(f, i, ToValidUtf8(r.results.GBF).c_str())
                      : OGR_F_SetFieldNull(f, i);
         }},
    };
    if (measures) {
        columns.push_back(
            {"plan_target", Kind::Text, [](OGRFeatureH f, int i, const ParcelOutcome& r) {
                 r.planned ? OGR_F_SetFieldString(f, i, r.planTarget.c_str())
                           : OGR_F_SetFieldNull(f, i);
             }});
        columns.push_back(
            {"plan_count", Kind::Int, [](OGRFeatureH f, int i, const ParcelOutcome& r) {
                 r.planned
                     ? OGR_F_SetFieldInteger(f, i, static_cast<int>(r.planDescriptions.size()))
                     : OGR_F_SetFieldNull(f, i);
             }});
        columns.push_back(
            {"plan_measures", Kind::Text, [](OGRFeatureH f, int i, const ParcelOutcome& r) {
                 if (!r.planned) {
                     OGR_F_SetFieldNull(f, i);
                     return;
                 }
                 std::string texts;
                 for (const std::string& d : r.planDescriptions) {
                     texts += (texts.empty() ? "" : "; ") + d;
                 }
                 OGR_F_SetFieldString(f, i, ToValidUtf8(texts).c_str());
             }});
    }
    columns.push_back({"messages", Kind::Text, [](OGRFeatureH f, int i, const ParcelOutcome& r) {
                           OGR_F_SetFieldString(f, i, ToValidUtf8(Messages(r)).c_str());
                       }});
    return columns;
}

OGRFieldType FieldTypeOf(Kind kind) {
    switch (kind) {
    case Kind::Text:
        return OFTString;
    case Kind::Int:
        return OFTInteger;
    case Kind::Int64:
        return OFTInteger64;
    case Kind::Real:
        break;
    }
    return OFTReal;
}

bool AddField(OGRLayerH layer, const char* name, OGRFieldType type) {
    OGRFieldDefnH field = OGR_Fld_Create(name, type);
    const bool ok = OGR_L_CreateField(layer, field, TRUE) == OGRERR_NONE;
    OGR_Fld_Destroy(field);
    return ok;
}

// The geometry type all parcels share; any geometry when they differ.
OGRwkbGeometryType CommonType(const terrain::ParcelLayer& layer) {
    OGRwkbGeometryType common = wkbUnknown;
    bool first = true;
    for (const terrain::Parcel& parcel : layer.parcels) {
        OGRGeometryH geometry = nullptr;
        if (OGR_G_CreateFromWkb(parcel.geometryWkb.data(), nullptr, &geometry,
                                static_cast<int>(parcel.geometryWkb.size())) != OGRERR_NONE) {
            return wkbUnknown;
        }
        const OGRwkbGeometryType type = OGR_G_GetGeometryType(geometry);
        OGR_G_DestroyGeometry(geometry);
        if (!first && type != common) {
            return wkbUnknown;
        }
        common = type;
        first = false;
    }
    return common;
}

bool WriteParcels(GDALDatasetH dataset, const terrain::ParcelLayer& input,
                  const std::vector<ParcelOutcome>& results, bool measures, std::string& error) {
    const Srs srs = SrsOf(input.wkt);
    OGRLayerH layer =
        GDALDatasetCreateLayer(dataset, "parzellen", srs.get(), CommonType(input), nullptr);
    if (layer == nullptr) {
        error = GdalProblem("Der Layer 'parzellen' kann nicht angelegt werden");
        return false;
    }
    const std::vector<Column> columns = Columns(measures);
    if (!AddField(layer, "id", OFTString)) {
        error = GdalProblem("Das Feld 'id' kann nicht angelegt werden");
        return false;
    }
    for (const Column& column : columns) {
        if (!AddField(layer, column.name, FieldTypeOf(column.kind))) {
            error = GdalProblem("Ein Feld kann nicht angelegt werden");
            return false;
        }
    }
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(layer);
    for (std::size_t p = 0; p < input.parcels.size(); ++p) {
        const terrain::Parcel& parcel = input.parcels[p];
        OGRFeatureH feature = OGR_F_Create(definition);
        OGR_F_SetFieldString(feature, 0, ToValidUtf8(parcel.id).c_str());
        for (std::size_t c = 0; c < columns.size(); ++c) {
            columns[c].set(feature, static_cast<int>(c) + 1, results[p]);
        }
        OGRGeometryH geometry = nullptr;
        if (OGR_G_CreateFromWkb(parcel.geometryWkb.data(), nullptr, &geometry,
                                static_cast<int>(parcel.geometryWkb.size())) == OGRERR_NONE) {
            OGR_F_SetGeometryDirectly(feature, geometry);
        }
        const bool ok = OGR_L_CreateFeature(layer, feature) == OGRERR_NONE;
        OGR_F_Destroy(feature);
        if (!ok) {
            error = GdalProblem("Eine Parzelle kann nicht geschrieben werden");
            return false;
        }
    }
    return true;
}

// One feature per parcel with concentrated flow: its lines, and their length inside the parcel.
bool WriteConcentratedFlow(GDALDatasetH dataset, const terrain::ParcelLayer& input,
                           const std::string& rasterWkt, const std::vector<ParcelOutcome>& results,
                           std::string& error) {
    const Srs srs = SrsOf(rasterWkt);
    OGRLayerH layer =
        GDALDatasetCreateLayer(dataset, "talwege", srs.get(), wkbMultiLineString, nullptr);
    if (layer == nullptr || !AddField(layer, "id", OFTString) ||
        !AddField(layer, "concentrated_flow_m", OFTReal)) {
        error = GdalProblem("Der Layer 'talwege' kann nicht angelegt werden");
        return false;
    }
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(layer);
    for (std::size_t p = 0; p < input.parcels.size(); ++p) {
        const terrain::ParcelTerrain& t = results[p].terrain;
        if (t.concentratedFlow.empty()) {
            continue;
        }
        OGRFeatureH feature = OGR_F_Create(definition);
        OGR_F_SetFieldString(feature, 0, ToValidUtf8(input.parcels[p].id).c_str());
        OGR_F_SetFieldDouble(feature, 1, t.concentratedLengthM);
        OGRGeometryH lines = OGR_G_CreateGeometry(wkbMultiLineString);
        for (const std::vector<terrain::Point>& points : t.concentratedFlow) {
            OGRGeometryH line = OGR_G_CreateGeometry(wkbLineString);
            for (const terrain::Point point : points) {
                OGR_G_AddPoint_2D(line, point.x, point.y);
            }
            OGR_G_AddGeometryDirectly(lines, line);
        }
        OGR_F_SetGeometryDirectly(feature, lines);
        const bool ok = OGR_L_CreateFeature(layer, feature) == OGRERR_NONE;
        OGR_F_Destroy(feature);
        if (!ok) {
            error = GdalProblem("Ein Talweg kann nicht geschrieben werden");
            return false;
        }
    }
    return true;
}

bool WriteFlowPaths(GDALDatasetH dataset, const terrain::ParcelLayer& input,
                    const std::string& rasterWkt, const std::vector<ParcelOutcome>& results,
                    std::string& error) {
    const Srs srs = SrsOf(rasterWkt);
    OGRLayerH layer =
        GDALDatasetCreateLayer(dataset, "fliesswege", srs.get(), wkbLineString, nullptr);
    if (layer == nullptr || !AddField(layer, "id", OFTString) ||
        !AddField(layer, "flow_length_m", OFTReal)) {
        error = GdalProblem("Der Layer 'fliesswege' kann nicht angelegt werden");
        return false;
    }
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(layer);
    for (std::size_t p = 0; p < input.parcels.size(); ++p) {
        const terrain::ParcelTerrain& t = results[p].terrain;
        if (!t.usable || t.flowPath.size() < 2) {
            continue;
        }
        OGRFeatureH feature = OGR_F_Create(definition);
        OGR_F_SetFieldString(feature, 0, ToValidUtf8(input.parcels[p].id).c_str());
        OGR_F_SetFieldDouble(feature, 1, t.flowLengthM);
        OGRGeometryH line = OGR_G_CreateGeometry(wkbLineString);
        for (const terrain::Point point : t.flowPath) {
            OGR_G_AddPoint_2D(line, point.x, point.y);
        }
        OGR_F_SetGeometryDirectly(feature, line);
        const bool ok = OGR_L_CreateFeature(layer, feature) == OGRERR_NONE;
        OGR_F_Destroy(feature);
        if (!ok) {
            error = GdalProblem("Ein Fliessweg kann nicht geschrieben werden");
            return false;
        }
    }
    return true;
}

} // namespace

const char* FlowEndName(terrain::FlowEnd end) {
    switch (end) {
    case terrain::FlowEnd::Edge:
        return "edge";
    case terrain::FlowEnd::Concentrated:
        return "concentrated";
    case terrain::FlowEnd::Pond:
        return "pond";
    case terrain::FlowEnd::Deposition:
        return "deposition";
    case terrain::FlowEnd::None:
        break;
    }
    return "";
}

bool WriteAreaLayer(const std::string& path, const terrain::ParcelLayer& layer,
                    const std::string& rasterWkt, const std::vector<ParcelOutcome>& results,
                    bool measures, std::string& error) {
    static std::atomic<int> counter{0};
    const std::string folder = "/vsimem/brisolt_area_" + std::to_string(++counter);
    const std::string file = folder + "/area.gpkg";
    GDALDriverH driver = GDALGetDriverByName("GPKG");
    if (driver == nullptr) {
        error = "GDAL kann keine GeoPackage-Dateien schreiben";
        return false;
    }
    CPLErrorReset();
    GDALDatasetH dataset = GDALCreate(driver, file.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    if (dataset == nullptr) {
        error = GdalProblem("Die GeoPackage-Datei kann nicht angelegt werden");
        VSIRmdirRecursive(folder.c_str());
        return false;
    }
    // One transaction: a GeoPackage commits every feature on its own otherwise.
    bool ok = GDALDatasetStartTransaction(dataset, FALSE) == OGRERR_NONE &&
              WriteParcels(dataset, layer, results, measures, error) &&
              WriteFlowPaths(dataset, layer, rasterWkt, results, error) &&
              WriteConcentratedFlow(dataset, layer, rasterWkt, results, error) &&
              WriteLayerStyles(dataset, error);
    if (ok && GDALDatasetCommitTransaction(dataset) != OGRERR_NONE) {
        error = GdalProblem("Die GeoPackage-Datei kann nicht abgeschlossen werden");
        ok = false;
    }
    CPLErrorReset();
    GDALClose(dataset);
    if (ok && CPLGetLastErrorType() >= CE_Failure) {
        error = GdalProblem("Die GeoPackage-Datei kann nicht abgeschlossen werden");
        ok = false;
    }
    if (ok) {
        vsi_l_offset size = 0;
        GByte* bytes = VSIGetMemFileBuffer(file.c_str(), &size, FALSE);
        if (bytes == nullptr) {
            error = GdalProblem("Die GeoPackage-Datei kann nicht abgeschlossen werden");
            ok = false;
        } else {
            try {
                ReplaceFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes),
                                                             static_cast<std::size_t>(size)));
            } catch (const std::exception& e) {
                error = std::string(texts::files::kCannotWrite) + ": " + MessageOf(e);
                ok = false;
            }
        }
    }
    VSIRmdirRecursive(folder.c_str());
    return ok;
}

} // namespace brisolt::cli
