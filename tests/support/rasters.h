#pragma once
// Small elevation rasters and parcel layers written with GDAL itself, for the terrain tests.

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include "key/files/file_system.h"
#include "terrain/terrain.h"

namespace brisolt::testing {

// The tests' usual raster: a 600 m square of 2 m cells in LV95, its top left corner here.
constexpr double kLeft = 2600000, kTop = 1200000, kCell = 2;
constexpr int kSize = 300;

// Places a new raster: its top left corner, square cells, and the coordinate system (`epsg` 0:
// none).
inline void SetFrame(GDALDatasetH dataset, double left, double top, double cell, int epsg) {
    double transform[6] = {left, cell, 0, top, 0, -cell};
    GDALSetGeoTransform(dataset, transform);
    if (epsg) {
        OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
        OSRImportFromEPSG(srs, epsg);
        GDALSetSpatialRef(dataset, srs);
        OSRDestroySpatialReference(srs);
    }
}

// A GeoTIFF of `columns` x `rows` cells of `cell` metres whose top left corner is (left, top),
// heights from `height(x, y)` at the cell centres. `epsg` 0 writes no coordinate system.
// `tiled`: in blocks of 256 x 256 cells, as large models are, instead of rows.
inline bool WriteRaster(const std::string& path, int columns, int rows, double cell, double left,
                        double top, int epsg, const std::function<double(double, double)>& height,
                        std::optional<double> noData = std::nullopt, bool tiled = false) {
    terrain::InitialiseGdal(BundledDataFolder());
    GDALDriverH driver = GDALGetDriverByName("GTiff");
    const char* blocks[] = {"TILED=YES", "BIGTIFF=IF_SAFER", nullptr};
    GDALDatasetH dataset = GDALCreate(driver, path.c_str(), columns, rows, 1, GDT_Float32,
                                      tiled ? const_cast<char**>(blocks) : nullptr);
    if (!dataset)
        return false;
    SetFrame(dataset, left, top, cell, epsg);
    GDALRasterBandH band = GDALGetRasterBand(dataset, 1);
    if (noData)
        GDALSetRasterNoDataValue(band, *noData);
    std::vector<float> values(static_cast<std::size_t>(columns) * rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            values[static_cast<std::size_t>(r) * columns + c] =
                static_cast<float>(height(left + (c + 0.5) * cell, top - (r + 0.5) * cell));
        }
    }
    const bool written = GDALRasterIO(band, GF_Write, 0, 0, columns, rows, values.data(), columns,
                                      rows, GDT_Float32, 0, 0) == CE_None;
    GDALClose(dataset);
    return written;
}

// What else a raster may be: values of another type stored with a scale and an offset
// (value = (height - offset) / scale), several bands (each repeats the heights), an alpha band
// or a mask of the dataset that says no height where `masked` is true.
struct RasterForm {
    GDALDataType type = GDT_Float32;
    std::optional<double> noData;
    double scale = 1;
    double offset = 0;
    int bands = 1;
    bool alpha = false; // one band more, the alpha band
    bool datasetMask = false;
    std::function<bool(double, double)> masked = [](double, double) { return false; };
};
inline bool WriteRasterAs(const std::string& path, int columns, int rows, double cell, double left,
                          double top, int epsg, const std::function<double(double, double)>& height,
                          const RasterForm& form) {
    terrain::InitialiseGdal(BundledDataFolder());
    const int bands = form.bands + (form.alpha ? 1 : 0);
    GDALDatasetH dataset = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), columns, rows,
                                      bands, form.type, nullptr);
    if (!dataset)
        return false;
    SetFrame(dataset, left, top, cell, epsg);
    std::vector<double> values(static_cast<std::size_t>(columns) * rows);
    std::vector<double> mask(values.size());
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const double x = left + (c + 0.5) * cell, y = top - (r + 0.5) * cell;
            const std::size_t k = static_cast<std::size_t>(r) * columns + c;
            values[k] = (height(x, y) - form.offset) / form.scale;
            if (form.type != GDT_Float32 && form.type != GDT_Float64)
                values[k] = std::round(values[k]);
            mask[k] = form.masked(x, y) ? 0 : 255;
        }
    }
    bool ok = true;
    for (int b = 1; b <= form.bands; ++b) {
        GDALRasterBandH band = GDALGetRasterBand(dataset, b);
        if (form.noData)
            GDALSetRasterNoDataValue(band, *form.noData);
        if (form.scale != 1 || form.offset != 0) {
            GDALSetRasterScale(band, form.scale);
            GDALSetRasterOffset(band, form.offset);
        }
        ok = ok && GDALRasterIO(band, GF_Write, 0, 0, columns, rows, values.data(), columns, rows,
                                GDT_Float64, 0, 0) == CE_None;
    }
    if (form.alpha) {
        GDALRasterBandH band = GDALGetRasterBand(dataset, bands);
        GDALSetRasterColorInterpretation(band, GCI_AlphaBand);
        ok = ok && GDALRasterIO(band, GF_Write, 0, 0, columns, rows, mask.data(), columns, rows,
                                GDT_Float64, 0, 0) == CE_None;
    }
    if (form.datasetMask) {
        ok = ok && GDALCreateDatasetMaskBand(dataset, GMF_PER_DATASET) == CE_None &&
             GDALRasterIO(GDALGetMaskBand(GDALGetRasterBand(dataset, 1)), GF_Write, 0, 0, columns,
                          rows, mask.data(), columns, rows, GDT_Float64, 0, 0) == CE_None;
    }
    GDALClose(dataset);
    return ok;
}

// A rectangle `length` long along `angle` (radians from the x axis) and `width` wide, its
// upper short side centred on (x, y).
inline terrain::Shape Rectangle(double x, double y, double length, double width, double angle = 0) {
    const double ux = std::cos(angle), uy = std::sin(angle);
    const double vx = -uy * width / 2, vy = ux * width / 2;
    return terrain::Shape{{{{x + vx, y + vy},
                            {x - vx, y - vy},
                            {x - vx + ux * length, y - vy + uy * length},
                            {x + vx + ux * length, y + vy + uy * length}}}};
}

// The vector driver a test file's name asks for.
inline std::string VectorDriver(const std::string& path) {
    return path.ends_with(".gpkg") ? "GPKG" : path.ends_with(".shp") ? "ESRI Shapefile" : "GeoJSON";
}

// A new, empty vector file of the driver its name asks for; null when it cannot be made.
inline GDALDatasetH CreateVectorFile(const std::string& path) {
    terrain::InitialiseGdal(BundledDataFolder());
    return GDALCreate(GDALGetDriverByName(VectorDriver(path).c_str()), path.c_str(), 0, 0, 0,
                      GDT_Unknown, nullptr);
}

// The fields "id" and "datei" (text) of the test layers; false when the layer is missing.
inline bool AddIdAndFileFields(OGRLayerH layer) {
    bool ok = layer != nullptr;
    for (const char* name : {"id", "datei"}) {
        OGRFieldDefnH field = OGR_Fld_Create(name, OFTString);
        ok = ok && OGR_L_CreateField(layer, field, TRUE) == OGRERR_NONE;
        OGR_Fld_Destroy(field);
    }
    return ok;
}

// A polygon layer (driver from the name: .geojson, .gpkg, .shp) with the fields "id" and
// "datei"; `epsg` 0 writes no coordinate system.
struct LayerParcel {
    std::string id;
    terrain::Shape shape;
    std::string file;
};
inline bool WriteLayer(const std::string& path, int epsg, const std::vector<LayerParcel>& parcels,
                       const std::string& layerName = "schlaege") {
    const std::string driverName = VectorDriver(path);
    GDALDatasetH dataset = CreateVectorFile(path);
    if (!dataset)
        return false;
    OGRSpatialReferenceH srs = nullptr;
    if (epsg) {
        srs = OSRNewSpatialReference(nullptr);
        OSRImportFromEPSG(srs, epsg);
        OSRSetAxisMappingStrategy(srs, OAMS_TRADITIONAL_GIS_ORDER);
    }
    OGRLayerH layer = GDALDatasetCreateLayer(dataset, layerName.c_str(), srs, wkbPolygon, nullptr);
    bool ok = AddIdAndFileFields(layer);
    for (const LayerParcel& parcel : parcels) {
        if (!ok)
            break;
        OGRFeatureH feature = OGR_F_Create(OGR_L_GetLayerDefn(layer));
        OGR_F_SetFieldString(feature, 0, parcel.id.c_str());
        OGR_F_SetFieldString(feature, 1, parcel.file.c_str());
        OGRGeometryH polygon = OGR_G_CreateGeometry(wkbPolygon);
        for (const terrain::Ring& ring : parcel.shape.rings) {
            OGRGeometryH linear = OGR_G_CreateGeometry(wkbLinearRing);
            for (const terrain::Point& p : ring)
                OGR_G_AddPoint_2D(linear, p.x, p.y);
            OGR_G_AddPoint_2D(linear, ring.front().x, ring.front().y);
            OGR_G_AddGeometryDirectly(polygon, linear);
        }
        OGR_F_SetGeometryDirectly(feature, polygon);
        ok = OGR_L_CreateFeature(layer, feature) == OGRERR_NONE;
        OGR_F_Destroy(feature);
    }
    if (srs)
        OSRDestroySpatialReference(srs);
    GDALClose(dataset);
    return ok;
}

// A layer of features given as WKT (an empty text: no geometry) with the fields "id" (unset
// when nullopt) and "datei", in a layer of any geometry type. `options`: the driver's layer
// creation options.
struct WktFeature {
    std::optional<std::string> id;
    std::string wkt;
    std::string file;
};
inline bool WriteWktLayer(const std::string& path, int epsg,
                          const std::vector<WktFeature>& features,
                          const std::vector<std::string>& options = {}) {
    const std::string driverName = VectorDriver(path);
    GDALDatasetH dataset = CreateVectorFile(path);
    if (!dataset)
        return false;
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, epsg);
    OSRSetAxisMappingStrategy(srs, OAMS_TRADITIONAL_GIS_ORDER);
    std::vector<const char*> list;
    for (const std::string& option : options)
        list.push_back(option.c_str());
    list.push_back(nullptr);
    const bool polygons = driverName == "ESRI Shapefile";
    OGRLayerH layer =
        GDALDatasetCreateLayer(dataset, "schlaege", srs, polygons ? wkbPolygon : wkbUnknown,
                               const_cast<char**>(list.data()));
    bool ok = AddIdAndFileFields(layer);
    for (const WktFeature& f : features) {
        if (!ok)
            break;
        OGRFeatureH feature = OGR_F_Create(OGR_L_GetLayerDefn(layer));
        if (f.id)
            OGR_F_SetFieldString(feature, 0, f.id->c_str());
        OGR_F_SetFieldString(feature, 1, f.file.c_str());
        if (!f.wkt.empty()) {
            char* text = const_cast<char*>(f.wkt.c_str());
            OGRGeometryH geometry = nullptr;
            ok = OGR_G_CreateFromWkt(&text, srs, &geometry) == OGRERR_NONE;
            OGR_F_SetGeometryDirectly(feature, geometry);
        }
        ok = ok && OGR_L_CreateFeature(layer, feature) == OGRERR_NONE;
        OGR_F_Destroy(feature);
    }
    OSRDestroySpatialReference(srs);
    GDALClose(dataset);
    return ok;
}

// A shape as WKT: one polygon of its rings (the first outside, the others holes), or with
// `multi` a multipolygon with every ring a part of its own.
inline std::string Wkt(const terrain::Shape& shape, bool multi = false) {
    std::string rings;
    for (std::size_t i = 0; i < shape.rings.size(); ++i) {
        const terrain::Ring& ring = shape.rings[i];
        std::string points;
        for (std::size_t k = 0; k <= ring.size(); ++k) {
            const terrain::Point& p = ring[k % ring.size()];
            points += (k > 0 ? "," : "") + std::to_string(p.x) + " " + std::to_string(p.y);
        }
        rings += (i > 0 ? "," : "") + (multi ? "((" + points + "))" : "(" + points + ")");
    }
    return (multi ? "MULTIPOLYGON(" : "POLYGON(") + rings + ")";
}

} // namespace brisolt::testing
