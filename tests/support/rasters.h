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
    double transform[6] = {left, cell, 0, top, 0, -cell};
    GDALSetGeoTransform(dataset, transform);
    if (epsg) {
        OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
        OSRImportFromEPSG(srs, epsg);
        GDALSetSpatialRef(dataset, srs);
        OSRDestroySpatialReference(srs);
    }
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

// A polygon layer (driver from the name: .geojson, .gpkg, .shp) with the fields "id" and
// "datei"; `epsg` 0 writes no coordinate system.
struct LayerParcel {
    std::string id;
    terrain::Shape shape;
    std::string file;
};
inline bool WriteLayer(const std::string& path, int epsg, const std::vector<LayerParcel>& parcels,
                       const std::string& layerName = "schlaege") {
    terrain::InitialiseGdal(BundledDataFolder());
    const std::string driverName = path.ends_with(".gpkg")  ? "GPKG"
                                   : path.ends_with(".shp") ? "ESRI Shapefile"
                                                            : "GeoJSON";
    GDALDatasetH dataset = GDALCreate(GDALGetDriverByName(driverName.c_str()), path.c_str(), 0, 0,
                                      0, GDT_Unknown, nullptr);
    if (!dataset)
        return false;
    OGRSpatialReferenceH srs = nullptr;
    if (epsg) {
        srs = OSRNewSpatialReference(nullptr);
        OSRImportFromEPSG(srs, epsg);
        OSRSetAxisMappingStrategy(srs, OAMS_TRADITIONAL_GIS_ORDER);
    }
    OGRLayerH layer = GDALDatasetCreateLayer(dataset, layerName.c_str(), srs, wkbPolygon, nullptr);
    bool ok = layer != nullptr;
    for (const char* name : {"id", "datei"}) {
        OGRFieldDefnH field = OGR_Fld_Create(name, OFTString);
        ok = ok && OGR_L_CreateField(layer, field, TRUE) == OGRERR_NONE;
        OGR_Fld_Destroy(field);
    }
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

} // namespace brisolt::testing
