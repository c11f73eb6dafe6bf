#include "cli/area_styles.h"

#include <cpl_time.h>
#include <ogr_api.h>

#include <ctime>
#include <string_view>
#include <vector>

#include "report/area_map.h"

namespace brisolt::cli {

namespace {

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Rgba(report::Rgba c, std::uint8_t alpha) {
    return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue) +
           "," + std::to_string(alpha);
}

std::string Hex(report::Rgba c) {
    static const char digits[] = "0123456789abcdef";
    std::string out = "#";
    for (const int v : {c.red, c.green, c.blue}) {
        out += digits[(v >> 4) & 15];
        out += digits[v & 15];
    }
    return out;
}

std::string Option(const char* name, const std::string& value) {
    return "       <Option name=\"" + std::string(name) + "\" type=\"QString\" value=\"" + value +
           "\"/>\n";
}

constexpr const char* kQmlHead = "<!DOCTYPE qgis PUBLIC 'http://mrcc.com/qgis.dtd' 'SYSTEM'>\n"
                                 "<qgis version=\"3.22.0\" styleCategories=\"Symbology\">\n";
constexpr const char* kQmlTail = "</qgis>\n";

std::string FillSymbol(int name, report::Rgba fill, std::uint8_t alpha, report::Rgba outline) {
    return "   <symbol type=\"fill\" name=\"" + std::to_string(name) +
           "\" alpha=\"1\" clip_to_extent=\"1\" force_rhr=\"0\">\n"
           "    <layer class=\"SimpleFill\" enabled=\"1\" locked=\"0\" pass=\"0\">\n"
           "     <Option type=\"Map\">\n" +
           Option("color", Rgba(fill, alpha)) + Option("outline_color", Rgba(outline, 255)) +
           Option("outline_style", "solid") + Option("outline_width", "0.26") +
           Option("outline_width_unit", "MM") + Option("style", alpha > 0 ? "solid" : "no") +
           "     </Option>\n"
           "    </layer>\n"
           "   </symbol>\n";
}

struct Category {
    std::string value; // empty: every other value, no result among them
    std::string label;
    report::Rgba fill;
    std::uint8_t alpha;
    report::Rgba outline;
};

std::vector<Category> Categories() {
    std::vector<Category> categories;
    for (const report::MapLevel& level : report::MapLevels()) {
        const std::string value(level.label);
        categories.push_back({value, value + ": " + std::string(level.meaning),
                              report::MapLevelColour(value), report::kParcelAlpha,
                              report::Rgba{0, 0, 0, 255}});
    }
    categories.push_back({"", "ohne Ergebnis", report::Rgba{0, 0, 0, 0}, 0, report::kNoResultLine});
    return categories;
}

std::string SldHead(const char* layer) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<StyledLayerDescriptor version=\"1.1.0\" "
                       "xmlns=\"http://www.opengis.net/sld\" "
                       "xmlns:ogc=\"http://www.opengis.net/ogc\" "
                       "xmlns:se=\"http://www.opengis.net/se\">\n"
                       " <NamedLayer>\n"
                       "  <se:Name>") +
           layer +
           "</se:Name>\n"
           "  <UserStyle>\n"
           "   <se:Name>" +
           layer +
           "</se:Name>\n"
           "   <se:FeatureTypeStyle>\n";
}

constexpr const char* kSldTail = "   </se:FeatureTypeStyle>\n"
                                 "  </UserStyle>\n"
                                 " </NamedLayer>\n"
                                 "</StyledLayerDescriptor>\n";

std::string Stroke(report::Rgba colour, const char* width) {
    return "      <se:Stroke>\n"
           "       <se:SvgParameter name=\"stroke\">" +
           Hex(colour) +
           "</se:SvgParameter>\n"
           "       <se:SvgParameter name=\"stroke-width\">" +
           width + "</se:SvgParameter>\n      </se:Stroke>\n";
}

bool AddField(OGRLayerH layer, const char* name, OGRFieldType type, int width = 0,
              OGRFieldSubType subType = OFSTNone) {
    OGRFieldDefnH field = OGR_Fld_Create(name, type);
    OGR_Fld_SetWidth(field, width);
    OGR_Fld_SetSubType(field, subType);
    const bool ok = OGR_L_CreateField(layer, field, TRUE) == OGRERR_NONE;
    OGR_Fld_Destroy(field);
    return ok;
}

} // namespace

std::string ParcelStyleQml() {
    std::string categories, symbols;
    int index = 0;
    for (const Category& c : Categories()) {
        categories += "   <category render=\"true\" symbol=\"" + std::to_string(index) +
                      "\" value=\"" + Escaped(c.value) + "\" label=\"" + Escaped(c.label) +
                      "\"/>\n";
        symbols += FillSymbol(index, c.fill, c.alpha, c.outline);
        ++index;
    }
    return std::string(kQmlHead) +
           " <renderer-v2 type=\"categorizedSymbol\" attr=\"GBF\" symbollevels=\"0\" "
           "enableorderby=\"0\" forceraster=\"0\">\n"
           "  <categories>\n" +
           categories + "  </categories>\n  <symbols>\n" + symbols +
           "  </symbols>\n"
           " </renderer-v2>\n" +
           kQmlTail;
}

std::string ParcelStyleSld() {
    std::string rules;
    for (const Category& c : Categories()) {
        const std::string filter =
            c.value.empty()
                ? std::string("      <se:ElseFilter/>\n")
                : "      <ogc:Filter><ogc:PropertyIsEqualTo>"
                  "<ogc:PropertyName>GBF</ogc:PropertyName><ogc:Literal>" +
                      Escaped(c.value) + "</ogc:Literal></ogc:PropertyIsEqualTo></ogc:Filter>\n";
        std::string fill;
        if (c.alpha > 0) {
            char opacity[16];
            std::snprintf(opacity, sizeof opacity, "%.2f", c.alpha / 255.0);
            fill = "       <se:Fill>\n        <se:SvgParameter name=\"fill\">" + Hex(c.fill) +
                   "</se:SvgParameter>\n        <se:SvgParameter name=\"fill-opacity\">" + opacity +
                   "</se:SvgParameter>\n       </se:Fill>\n";
        }
        rules += "    <se:Rule>\n     <se:Name>" + Escaped(c.label) + "</se:Name>\n" + filter +
                 "     <se:PolygonSymbolizer>\n" + fill + Stroke(c.outline, "1") +
                 "     </se:PolygonSymbolizer>\n    </se:Rule>\n";
    }
    return SldHead("parzellen") + rules + kSldTail;
}

std::string LineStyleQml(bool flowPaths) {
    const report::Rgba colour = flowPaths ? report::kFlowPath : report::kConcentratedFlow;
    return std::string(kQmlHead) +
           " <renderer-v2 type=\"singleSymbol\" symbollevels=\"0\" enableorderby=\"0\" "
           "forceraster=\"0\">\n"
           "  <symbols>\n"
           "   <symbol type=\"line\" name=\"0\" alpha=\"1\" clip_to_extent=\"1\" "
           "force_rhr=\"0\">\n"
           "    <layer class=\"SimpleLine\" enabled=\"1\" locked=\"0\" pass=\"0\">\n"
           "     <Option type=\"Map\">\n" +
           Option("line_color", Rgba(colour, 255)) + Option("line_style", "solid") +
           Option("line_width", flowPaths ? "0.5" : "0.7") + Option("line_width_unit", "MM") +
           Option("capstyle", "round") + Option("joinstyle", "round") +
           "     </Option>\n"
           "    </layer>\n"
           "   </symbol>\n"
           "  </symbols>\n"
           " </renderer-v2>\n" +
           kQmlTail;
}

std::string LineStyleSld(bool flowPaths) {
    const report::Rgba colour = flowPaths ? report::kFlowPath : report::kConcentratedFlow;
    return SldHead(flowPaths ? "fliesswege" : "talwege") + "    <se:Rule>\n     <se:Name>" +
           (flowPaths ? "längster Fliessweg" : "Talweg (gebündelter Abfluss)") +
           "</se:Name>\n     <se:LineSymbolizer>\n" + Stroke(colour, flowPaths ? "2" : "3") +
           "     </se:LineSymbolizer>\n    </se:Rule>\n" + kSldTail;
}

bool WriteLayerStyles(GDALDatasetH dataset, std::string& error) {
    const char* options[] = {"FID=id", nullptr};
    OGRLayerH table = GDALDatasetCreateLayer(dataset, "layer_styles", nullptr, wkbNone,
                                             const_cast<char**>(options));
    if (table == nullptr || !AddField(table, "f_table_catalog", OFTString, 256) ||
        !AddField(table, "f_table_schema", OFTString, 256) ||
        !AddField(table, "f_table_name", OFTString, 256) ||
        !AddField(table, "f_geometry_column", OFTString, 256) ||
        !AddField(table, "styleName", OFTString) || !AddField(table, "styleQML", OFTString) ||
        !AddField(table, "styleSLD", OFTString) ||
        !AddField(table, "useAsDefault", OFTInteger, 0, OFSTBoolean) ||
        !AddField(table, "description", OFTString) || !AddField(table, "owner", OFTString, 30) ||
        !AddField(table, "ui", OFTString) || !AddField(table, "update_time", OFTDateTime)) {
        error = "Die Tabelle 'layer_styles' kann nicht angelegt werden";
        return false;
    }
    // GDAL's own conversion: the C library's thread-safe one differs between Linux and Windows.
    std::tm utc{};
    CPLUnixTimeToYMDHMS(static_cast<GIntBig>(std::time(nullptr)), &utc);
    struct Style {
        const char* layer;
        std::string qml;
        std::string sld;
        const char* description;
    };
    const Style styles[] = {
        {"parzellen", ParcelStyleQml(), ParcelStyleSld(),
         "Gefährdungsstufe der Bodenfruchtbarkeit (GBF)"},
        {"fliesswege", LineStyleQml(true), LineStyleSld(true), "längster Fliessweg"},
        {"talwege", LineStyleQml(false), LineStyleSld(false), "Talweg (gebündelter Abfluss)"},
    };
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(table);
    for (const Style& style : styles) {
        OGRLayerH layer = GDALDatasetGetLayerByName(dataset, style.layer);
        if (layer == nullptr) {
            continue;
        }
        OGRFeatureH feature = OGR_F_Create(definition);
        OGR_F_SetFieldString(feature, 0, "");
        OGR_F_SetFieldString(feature, 1, "");
        OGR_F_SetFieldString(feature, 2, style.layer);
        OGR_F_SetFieldString(feature, 3, OGR_L_GetGeometryColumn(layer));
        OGR_F_SetFieldString(feature, 4, style.layer);
        OGR_F_SetFieldString(feature, 5, style.qml.c_str());
        OGR_F_SetFieldString(feature, 6, style.sld.c_str());
        OGR_F_SetFieldInteger(feature, 7, 1);
        OGR_F_SetFieldString(feature, 8, style.description);
        OGR_F_SetFieldString(feature, 9, "");
        OGR_F_SetFieldNull(feature, 10);
        OGR_F_SetFieldDateTimeEx(feature, 11, utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                                 utc.tm_hour, utc.tm_min, static_cast<float>(utc.tm_sec), 100);
        const bool ok = OGR_L_CreateFeature(table, feature) == OGRERR_NONE;
        OGR_F_Destroy(feature);
        if (!ok) {
            error = "Ein Stil kann nicht geschrieben werden";
            return false;
        }
    }
    return true;
}

} // namespace brisolt::cli
