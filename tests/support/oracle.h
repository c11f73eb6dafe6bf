#pragma once
// A second, separate reading of the erosion key, for checking the program's results from the
// outside: site influence, rotation checks, crop rotation factor with its shares, rill
// surcharge, total risk, soil loss, soil depth and fertility risk level. Written without the
// key library: the tables are transcribed here and every rule is coded afresh, so a fault in
// the program shows up as a difference instead of being repeated.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace brisolt::oracle {

using Real = long double;

// ---------------------------------------------------------------------------------------------
// Rounding: halves to the even neighbour, on the value first taken to 15 significant digits
// (so 0.125 behaves as the exact half it is meant to be).

inline Real To15Digits(Real v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14Le", v);
    return std::strtold(buffer, nullptr);
}
inline long long RoundHalfEven(Real v) {
    return std::llrint(To15Digits(v));
}

// ---------------------------------------------------------------------------------------------
// Catalogues of the crop rotation step.

struct Crop {
    const char* name;
    int code;
    const char* group; // WW, HF, BF, KW, RB, CH
    const char* cls;   // HFW, HFS, BFW, BFS, KWB, SOK
    char column;       // letter column of the BF and HF tables, '-' for none
    bool spring;
};

// Index 0 is "no crop".
inline const std::vector<Crop>& Crops() {
    static const std::vector<Crop> crops{
        {"", 0, "", "", '-', false},
        {"Ackerbohnen (Winter)", 2, "HF", "BFW", 'Q', false},
        {"Ackerbohnen (Sommer)", 1, "HF", "BFS", 'P', true},
        {"Chinaschilf 1. Jahr", 3, "CH", "SOK", '-', true},
        {"Chinaschilf 2. und folgende Jahre", 38, "CH", "SOK", '-', true},
        {"Dinkel", 4, "WW", "HFW", '-', false},
        {"Einkorn", 5, "WW", "HFW", '-', false},
        {"Eiweiss-/Ackererbsen (Winter)", 7, "HF", "BFW", 'Q', false},
        {"Eiweiss-/Ackererbsen (Sommer)", 8, "HF", "BFS", 'M', true},
        {"Emmer", 6, "WW", "HFW", '-', false},
        {"Freilandgemüse", 9, "BF", "SOK", 'G', true},
        {"Gerste (Winter)", 10, "HF", "HFW", 'J', false},
        {"Gerste (Sommer)", 11, "HF", "HFS", 'M', true},
        {"Hafer (Winter)", 12, "HF", "HFW", 'K', false},
        {"Hafer (Sommer)", 13, "HF", "HFS", 'L', true},
        {"Hanf (Faserhanf)", 14, "HF", "SOK", 'R', true},
        {"Kartoffeln (Saatkartoffeln)", 16, "BF", "BFS", 'B', true},
        {"Kartoffeln (übrige)", 15, "BF", "BFS", 'A', true},
        {"Korn", 17, "WW", "HFW", '-', false},
        {"Kunstwiese 1. Jahr (Frühlingssaat)", 19, "KW", "KWB", '-', true},
        {"Kunstwiese 1. Jahr (Sommer-/Herbstsaat)", 18, "KW", "KWB", '-', false},
        {"Kunstwiese 2. und folgende Jahre", 20, "KW", "KWB", '-', false},
        {"Mais (Körnermais)", 21, "BF", "BFS", 'C', true},
        {"Mais (Silomais)", 22, "BF", "BFS", 'D', true},
        {"Raps (Winter)", 23, "HF", "BFW", 'N', false},
        {"Raps (Sommer)", 24, "HF", "BFS", 'O', true},
        {"Roggen (Winter)", 25, "HF", "HFW", 'J', false},
        {"Rotations-/Buntbrachen (Frühlingssaat)", 26, "RB", "KWB", '-', true},
        {"Rotations-/Buntbrachen (Herbstsaat)", 27, "RB", "KWB", '-', false},
        {"Rotations-/Buntbrachen 2. und folgende Jahre", 28, "RB", "KWB", '-', false},
        {"Rüben (Futterrüben)", 30, "BF", "BFS", 'F', true},
        {"Rüben (Zuckerrüben)", 29, "BF", "BFS", 'E', true},
        {"Soja", 31, "BF", "BFS", 'G', true},
        {"Sonnenblumen", 32, "BF", "BFS", 'H', true},
        {"Tabak", 33, "BF", "BFS", 'I', true},
        {"Triticale (Winter)", 34, "HF", "HFW", 'J', false},
        {"Triticale (Sommer)", 35, "HF", "HFS", 'M', true},
        {"Weizen (Winter)", 36, "WW", "HFW", '-', false},
        {"Weizen (Sommer)", 37, "HF", "HFS", 'M', true},
    };
    return crops;
}

inline int CropIndexOfCode(int code) {
    const auto& crops = Crops();
    for (std::size_t i = 1; i < crops.size(); ++i) {
        if (crops[i].code == code) {
            return static_cast<int>(i);
        }
    }
    throw std::logic_error("no crop with code " + std::to_string(code));
}

inline const std::vector<std::string>& PeriodTypeTexts() { // code = position
    static const std::vector<std::string> texts{
        "",
        "Keine Zwischenperiode",
        "Schwarzbrache im Herbst und Winter",
        "Stoppelbrache im Winter",
        "Stoppelbrache vor Winterkultur",
        "Zwischenfutter/Gründüngung vor Schwarzbrache",
        "Zwischenfutter/Gründüngung vor Winterkultur",
        "Zwischenfutter/Gründüngung im Winter, abfrierend",
        "Zwischenfutter/Gründüngung im Winter, überwinternd",
    };
    return texts;
}

inline const std::vector<std::string>& PeriodStartTexts() { // code = position
    static const std::vector<std::string> texts{
        "",
        "vor dem 20.07.",
        "vor dem 31.07.",
        "20.07. bis 31.07.",
        "01.08. bis 15.08.",
        "16.08. bis 31.08.",
        "01.09. bis 15.09.",
        "16.09. bis 30.09.",
        "01.10. bis 15.10.",
        "16.10. bis 31.10.",
        "01.11. bis 15.11.",
        "16.11. bis 30.11.",
        "01.12. bis 15.12.",
    };
    return texts;
}

inline int TillageCodeOfText(const std::string& text) {
    if (text == "keine Bodenbearbeitung")
        return 99;
    if (text == "Plug/pfluglos unter 10% Bedeckung")
        return 1;
    if (text == "Mulchsaat 10-30% Bedeckung")
        return 2;
    if (text == "Mulchsaat über 30% Bedeckung")
        return 3;
    if (text == "Direktsaat/Streifenfrässaat")
        return 4;
    if (text.empty())
        return 0;
    throw std::logic_error("unknown tillage text " + text);
}

inline int PositionIn(const std::vector<std::string>& texts, const std::string& text) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == text) {
            return static_cast<int>(i);
        }
    }
    throw std::logic_error("unknown text " + text);
}

// Start codes offered for a period type after a crop of the given group.
inline std::vector<int> OfferedStarts(int periodType, const std::string& group) {
    const bool bf = group == "BF";
    switch (periodType) {
    case 2:
        return {2, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    case 3:
        return bf ? std::vector<int>{2, 4, 5, 6, 7, 8, 9, 10} : std::vector<int>{1, 3, 4, 5, 6};
    case 4:
        return bf ? std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10} : std::vector<int>{1, 3, 4, 5, 6};
    case 5:
    case 6:
    case 7:
        return {1, 3, 4, 5, 6};
    case 8:
        return {1, 3, 4, 5, 6, 7, 8};
    default:
        return {};
    }
}

// ---------------------------------------------------------------------------------------------
// The forty crop rotation key tables, cells as written in the key.

struct KeyTableData {
    std::string name;
    std::vector<std::string> columns; // column keys, from column 1
    std::vector<std::pair<std::string, std::vector<std::string>>> rows; // row key, cells
};

inline const std::vector<KeyTableData>& TranscribedKeyTables() {
    static const std::vector<KeyTableData> tables{
        {"Tab01",
         {"A", "B", "C", "D", "E", "F", "G", "H", "I"},
         {{"1",
           {"0.0444", "0.0619", "0.0829", "0.0834", "0.0550", "0.0534", "0.0742", "0.0813",
            "0.0427"}},
          {"2",
           {"0.0406", "0.0581", "0.0343", "0.0344", "0.0385", "0.0376", "0.0449", "0.0457",
            "0.0180"}},
          {"3",
           {"0.0362", "0.0545", "0.0222", "0.0224", "0.0330", "0.0323", "0.0341", "0.0366",
            "0.0125"}},
          {"4", {"-", "-", "0.0207", "0.0207", "0.0323", "0.0316", "0.0317", "0.0339", "-"}}}},
        {"Tab02",
         {"A", "B", "C", "D", "E", "F", "G", "H", "I"},
         {{"1",
           {"0.0617", "0.0860", "0.1152", "0.1159", "0.0765", "0.0742", "0.1031", "0.1130",
            "0.0594"}},
          {"2",
           {"0.0491", "0.0703", "0.0415", "0.0416", "0.0466", "0.0455", "0.0543", "0.0533",
            "0.0218"}},
          {"3",
           {"0.0402", "0.0605", "0.0246", "0.0249", "0.0366", "0.0359", "0.0379", "0.0406",
            "0.0139"}},
          {"4", {"-", "-", "0.0207", "0.0207", "0.0323", "0.0316", "0.0317", "0.0339", "-"}}}},
        {"Tab03",
         {"A", "B", "C", "D", "E", "F", "G", "H", "I"},
         {{"1",
           {"0.0847", "0.1170", "0.1612", "0.1629", "0.1081", "0.1050", "0.1449", "0.1578",
            "0.0821"}},
          {"2",
           {"0.0703", "0.0955", "0.0514", "0.0516", "0.0532", "0.0519", "0.0669", "0.0648",
            "0.0258"}},
          {"3",
           {"0.0535", "0.0750", "0.0241", "0.0244", "0.0348", "0.0340", "0.0383", "0.0411",
            "0.0130"}},
          {"4", {"-", "-", "0.0207", "0.0207", "0.0323", "0.0316", "0.0317", "0.0339", "-"}}}},
        {"Tab04",
         {"A", "B", "C", "D", "E", "F", "G", "H", "I"},
         {{"1",
           {"0.1237", "0.1708", "0.2354", "0.2378", "0.1578", "0.1533", "0.2116", "0.2304",
            "0.1199"}},
          {"2",
           {"0.0893", "0.1213", "0.0653", "0.0655", "0.0676", "0.0659", "0.0850", "0.0823",
            "0.0328"}},
          {"3",
           {"0.0621", "0.0870", "0.0280", "0.0283", "0.0404", "0.0394", "0.0444", "0.0477",
            "0.0151"}},
          {"4", {"-", "-", "0.0207", "0.0207", "0.0323", "0.0316", "0.0317", "0.0339", "-"}}}},
        {"Tab05",
         {"A", "B", "C", "D", "E", "F", "G", "H", "I"},
         {{"1",
           {"0.1008", "0.1376", "0.1956", "0.1988", "0.1329", "0.1290", "0.1769", "0.1914",
            "0.0985"}},
          {"2",
           {"0.0822", "0.1095", "0.0589", "0.0594", "0.0600", "0.0585", "0.0768", "0.0732",
            "0.0290"}},
          {"3",
           {"0.0604", "0.0827", "0.0249", "0.0253", "0.0356", "0.0348", "0.0401", "0.0430",
            "0.0133"}},
          {"4", {"-", "-", "0.0207", "0.0207", "0.0323", "0.0316", "0.0317", "0.0339", "-"}}}},
        {"Tab06",
         {"A", "B", "C", "D", "E", "F", "G", "H", "I"},
         {{"1",
           {"0.1512", "0.2064", "0.2934", "0.2982", "0.1994", "0.1935", "0.2654", "0.2871",
            "0.1478"}},
          {"2",
           {"0.1110", "0.1478", "0.0795", "0.0802", "0.0810", "0.0790", "0.1037", "0.0988",
            "0.0392"}},
          {"3",
           {"0.0725", "0.0992", "0.0299", "0.0304", "0.0427", "0.0418", "0.0481", "0.0516",
            "0.0160"}},
          {"4", {"-", "-", "0.0207", "0.0207", "0.0323", "0.0316", "0.0317", "0.0339", "-"}}}},
        {"Tab07",
         {"J", "K", "L", "M", "N", "O", "P", "Q", "R"},
         {{"1",
           {"0.0175", "0.0245", "0.0165", "0.0122", "0.0252", "0.0095", "0.0235", "0.0599",
            "0.0237"}},
          {"2",
           {"0.0133", "0.0178", "0.0128", "0.0103", "0.0188", "0.0087", "0.0159", "0.0308",
            "0.0165"}},
          {"3",
           {"0.0112", "0.0149", "0.0109", "0.0091", "0.0157", "0.0081", "0.0126", "0.0232",
            "0.0138"}},
          {"4",
           {"0.0106", "0.0142", "0.0105", "0.0088", "0.0151", "0.0080", "0.0106", "0.0203",
            "0.0131"}}}},
        {"Tab08",
         {"J", "K", "L", "M", "N", "O", "P", "Q", "R"},
         {{"1",
           {"0.0267", "0.0373", "0.0305", "0.0224", "0.0383", "0.0173", "0.0440", "0.1169",
            "0.0468"}},
          {"2",
           {"0.0168", "0.0222", "0.0182", "0.0149", "0.0236", "0.0125", "0.0244", "0.0459",
            "0.0240"}},
          {"3",
           {"0.0120", "0.0158", "0.0119", "0.0100", "0.0166", "0.0087", "0.0157", "0.0273",
            "0.0153"}},
          {"4",
           {"0.0106", "0.0142", "0.0105", "0.0088", "0.0151", "0.0080", "0.0106", "0.0203",
            "0.0131"}}}},
        {"Tab09",
         {"J", "K", "L", "M", "N", "O", "P", "Q", "R"},
         {{"1",
           {"0.0425", "0.0597", "0.0400", "0.0292", "0.0613", "0.0224", "0.0536", "0.1449",
            "0.0578"}},
          {"2",
           {"0.0229", "0.0300", "0.0219", "0.0180", "0.0321", "0.0149", "0.0283", "0.0533",
            "0.0276"}},
          {"3",
           {"0.0133", "0.0173", "0.0126", "0.0105", "0.0181", "0.0090", "0.0172", "0.0293",
            "0.0161"}},
          {"4",
           {"0.0106", "0.0142", "0.0105", "0.0088", "0.0151", "0.0080", "0.0106", "0.0203",
            "0.0131"}}}},
        {"Tab10",
         {"J", "K", "L", "M", "N", "O", "P", "Q", "R"},
         {{"1",
           {"0.0310", "0.0433", "0.0354", "0.0260", "0.0444", "0.0201", "0.0510", "0.1356",
            "0.0543"}},
          {"2",
           {"0.0175", "0.0231", "0.0189", "0.0155", "0.0245", "0.0130", "0.0254", "0.0477",
            "0.0250"}},
          {"3",
           {"0.0120", "0.0159", "0.0119", "0.0100", "0.0167", "0.0087", "0.0158", "0.0274",
            "0.0154"}},
          {"4",
           {"0.0106", "0.0142", "0.0105", "0.0088", "0.0151", "0.0080", "0.0106", "0.0203",
            "0.0131"}}}},
        {"Tab11",
         {"J", "K", "L", "M", "N", "O", "P", "Q", "R"},
         {{"1",
           {"0.0531", "0.0746", "0.0500", "0.0365", "0.0766", "0.0280", "0.0670", "0.1811",
            "0.0723"}},
          {"2",
           {"0.0252", "0.0330", "0.0241", "0.0198", "0.0353", "0.0164", "0.0311", "0.0586",
            "0.0304"}},
          {"3",
           {"0.0134", "0.0175", "0.0127", "0.0106", "0.0183", "0.0091", "0.0174", "0.0296",
            "0.0163"}},
          {"4",
           {"0.0106", "0.0142", "0.0105", "0.0088", "0.0151", "0.0080", "0.0106", "0.0203",
            "0.0131"}}}},
        {"Tab12",
         {"-"},
         {{"1", {"0.0347"}}, {"2", {"0.0235"}}, {"3", {"0.0190"}}, {"4", {"0.0181"}}}},
        {"Tab13",
         {"11", "12", "13", "14"},
         {{"1", {"0.0526", "0.0610", "0.0618", "0.0717"}},
          {"2", {"0.0292", "0.0304", "0.0369", "0.0384"}},
          {"3", {"0.0199", "0.0200", "0.0239", "0.0240"}},
          {"4", {"0.0181", "0.0181", "0.0209", "0.0221"}}}},
        {"Tab14",
         {"11", "12", "13", "14"},
         {{"1", {"0.0856", "0.1070", "0.1011", "0.1264"}},
          {"2", {"0.0399", "0.0439", "0.0522", "0.0574"}},
          {"3", {"0.0217", "0.0219", "0.0269", "0.0272"}},
          {"4", {"0.0181", "0.0181", "0.0209", "0.0209"}}}},
        {"Tab15",
         {"-"},
         {{"1", {"0.0302"}}, {"2", {"0.0212"}}, {"3", {"0.0136"}}, {"4", {"0.0119"}}}},
        {"Tab16",
         {"-"},
         {{"1", {"0.0279"}}, {"2", {"0.0179"}}, {"3", {"0.0114"}}, {"4", {"0.0096"}}}},
        {"Tab17",
         {"-"},
         {{"1", {"0.0302"}}, {"2", {"0.0212"}}, {"3", {"0.0136"}}, {"4", {"0.0119"}}}},
        {"Tab18",
         {"-"},
         {{"1", {"0.0884"}}, {"2", {"0.0406"}}, {"3", {"0.0236"}}, {"4", {"0.0195"}}}},
        {"Tab19",
         {"-"},
         {{"1", {"0.0880"}}, {"2", {"0.0402"}}, {"3", {"0.0231"}}, {"4", {"0.0190"}}}},
        {"Tab20",
         {"-"},
         {{"1", {"0.0884"}}, {"2", {"0.0406"}}, {"3", {"0.0236"}}, {"4", {"0.0195"}}}},
        {"Tab21",
         {"-"},
         {{"1", {"0.0020"}}, {"2", {"0.0020"}}, {"3", {"0.0020"}}, {"4", {"0.0020"}}}},
        {"Tab22",
         {"-"},
         {{"1", {"0.0015"}}, {"2", {"0.0015"}}, {"3", {"0.0015"}}, {"4", {"0.0015"}}}},
        {"Tab23",
         {"-"},
         {{"1", {"0.0020"}}, {"2", {"0.0020"}}, {"3", {"0.0020"}}, {"4", {"0.0020"}}}},
        {"Tab24",
         {"-"},
         {{"1", {"0.0993"}}, {"2", {"0.0345"}}, {"3", {"0.0199"}}, {"4", {"0.0148"}}}},
        {"Tab25",
         {"-"},
         {{"1", {"0.3116"}}, {"2", {"0.1198"}}, {"3", {"0.0544"}}, {"4", {"0.0382"}}}},
        {"Tab26",
         {"-"},
         {{"1", {"0.0425"}}, {"2", {"0.0151"}}, {"3", {"0.0136"}}, {"4", {"0.0118"}}}},
        {"Tab27",
         {"-"},
         {{"1", {"0.0381"}}, {"2", {"0.0177"}}, {"3", {"0.0110"}}, {"4", {"0.0093"}}}},
        {"Tab28",
         {"-"},
         {{"1", {"0.9400"}}, {"2", {"0.2717"}}, {"3", {"0.1100"}}, {"4", {"0.0800"}}}},
        {"Tab29",
         {"-"},
         {{"1", {"0.1450"}}, {"2", {"0.0546"}}, {"3", {"0.0264"}}, {"4", {"0.0246"}}}},
        {"Tab30",
         {"-"},
         {{"1", {"0.0100"}}, {"2", {"0.0100"}}, {"3", {"0.0100"}}, {"4", {"0.0100"}}}},
        {"Tab31",
         {"-"},
         {{"1", {"0.0091"}}, {"2", {"0.0091"}}, {"3", {"0.0091"}}, {"4", {"0.0091"}}}},
        {"Tab32",
         {"1", "3", "4", "5", "6", "7", "8"},
         {{"1", {"0.0902", "0.0793", "0.0839", "0.0694", "0.0402", "0.0525", "0.0957"}},
          {"2", {"0.0344", "0.0303", "0.0311", "0.0252", "0.0152", "0.0210", "0.0312"}},
          {"3", {"0.0191", "0.0168", "0.0169", "0.0136", "0.0083", "0.0118", "0.0163"}},
          {"4", {"0.0147", "0.0131", "0.0129", "0.0106", "0.0064", "0.0072", "0.0132"}}}},
        {"Tab33",
         {"1", "3", "4", "5", "6"},
         {{"1", {"0.0972", "0.0906", "0.0966", "0.0799", "0.0436"}},
          {"2", {"0.0389", "0.0359", "0.0363", "0.0299", "0.0171"}},
          {"3", {"0.0222", "0.0205", "0.0201", "0.0164", "0.0098"}},
          {"4", {"0.0147", "0.0137", "0.0140", "0.0114", "0.0066"}}}},
        {"Tab34",
         {"1", "3", "4", "5", "6"},
         {{"1", {"0.0863", "0.0822", "0.0753", "0.0635", "0.0349"}},
          {"2", {"0.0333", "0.0310", "0.0273", "0.0220", "0.0114"}},
          {"3", {"0.0183", "0.0168", "0.0146", "0.0114", "0.0057"}},
          {"4", {"0.0128", "0.0119", "0.0105", "0.0084", "0.0043"}}}},
        {"Tab35",
         {"1", "3", "4", "5", "6"},
         {{"1", {"0.1294", "0.1253", "0.1184", "0.1066", "0.0786"}},
          {"2", {"0.0769", "0.0746", "0.0709", "0.0656", "0.0551"}},
          {"3", {"0.0614", "0.0599", "0.0577", "0.0545", "0.0488"}},
          {"4", {"0.0552", "0.0543", "0.0529", "0.0508", "0.0468"}}}},
        {"Tab36",
         {"1", "3", "4", "5", "6"},
         {{"1", {"0.0196", "0.0159", "0.0148", "0.0115", "0.0092"}},
          {"2", {"0.0150", "0.0122", "0.0113", "0.0088", "0.0070"}},
          {"3", {"0.0130", "0.0106", "0.0099", "0.0077", "0.0061"}},
          {"4", {"0.0130", "0.0106", "0.0099", "0.0077", "0.0061"}}}},
        {"Tab37",
         {"2", "4", "5", "6", "7", "8", "9", "10"},
         {{"1", {"0.0107", "0.2609", "0.2378", "0.1837", "0.1191", "0.0900", "0.0220", "0.0195"}},
          {"2", {"0.0107", "0.2200", "0.2005", "0.1549", "0.0851", "0.0293", "0.0205", "0.0182"}},
          {"3", {"0.0107", "0.1913", "0.1744", "0.1347", "0.0595", "0.0205", "0.0186", "0.0165"}},
          {"4", {"0.0107", "0.0435", "0.0396", "0.0306", "0.0238", "0.0205", "0.0136", "0.0120"}}}},
        {"Tab38",
         {"1", "3", "4", "5", "6", "7", "8", "9", "10"},
         {{"1", {"0.0137", "0.0101", "0.0089", "0.0056", "0.0033", "-", "-", "-", "-"}},
          {"2",
           {"-", "0.0067", "0.1437", "0.1206", "0.0665", "0.0214", "0.0041", "0.0002", "0.0000"}}}},
        {"Tab39",
         {"1", "3", "4", "5", "6", "7", "8", "9", "10"},
         {{"1", {"0.0101", "0.0074", "0.0066", "0.0042", "0.0025", "-", "-", "-", "-"}},
          {"2",
           {"-", "0.0074", "0.0760", "0.0638", "0.0352", "0.0087", "0.0010", "0.0002", "0.0000"}}}},
        {"Tab40",
         {"2", "4", "5", "6", "7", "8", "9", "10", "11", "12"},
         {{"1",
           {"0.1753", "0.1556", "0.1343", "0.1175", "0.0863", "0.0741", "0.0688", "0.0522",
            "0.0485", "0.0470"}}}},
    };
    return tables;
}
inline constexpr int kContourColumns[30] = {20,  30,  40,  50,  60,  70,  80,  90,  100, 110,
                                            120, 130, 140, 150, 160, 170, 180, 190, 200, 210,
                                            220, 230, 240, 250, 260, 270, 280, 290, 300, 310};
inline constexpr long double kContourFactor[17][30] = {
    {0.79L, 0.79L, 0.79L, 0.79L, 0.79L, 0.79L, 0.79L, 0.79L, 0.79L, 0.79L,
     0.79L, 0.79L, 0.81L, 0.83L, 0.84L, 0.85L, 0.86L, 0.87L, 0.88L, 0.88L,
     0.89L, 0.90L, 0.90L, 0.91L, 0.91L, 0.91L, 0.92L, 0.92L, 0.93L, 1.00L},
    {0.76L, 0.76L, 0.76L, 0.76L, 0.76L, 0.76L, 0.76L, 0.76L, 0.76L, 0.76L,
     0.77L, 0.80L, 0.81L, 0.83L, 0.84L, 0.86L, 0.87L, 0.87L, 0.88L, 0.89L,
     0.90L, 0.90L, 0.91L, 0.91L, 0.92L, 0.92L, 0.93L, 0.93L, 0.93L, 1.00L},
    {0.74L, 0.74L, 0.74L, 0.74L, 0.74L, 0.74L, 0.74L, 0.74L, 0.74L, 0.77L,
     0.79L, 0.82L, 0.83L, 0.85L, 0.86L, 0.87L, 0.88L, 0.89L, 0.90L, 0.90L,
     0.91L, 0.91L, 0.92L, 0.92L, 0.93L, 0.93L, 0.94L, 0.94L, 0.94L, 1.00L},
    {0.72L, 0.72L, 0.72L, 0.72L, 0.72L, 0.72L, 0.72L, 0.73L, 0.77L, 0.80L,
     0.82L, 0.84L, 0.85L, 0.87L, 0.88L, 0.89L, 0.90L, 0.90L, 0.91L, 0.92L,
     0.92L, 0.93L, 0.93L, 0.94L, 0.94L, 0.94L, 0.94L, 0.95L, 0.95L, 1.00L},
    {0.71L, 0.71L, 0.71L, 0.71L, 0.71L, 0.71L, 0.72L, 0.76L, 0.80L, 0.82L,
     0.84L, 0.86L, 0.87L, 0.89L, 0.89L, 0.90L, 0.91L, 0.92L, 0.92L, 0.93L,
     0.93L, 0.94L, 0.94L, 0.94L, 0.95L, 0.95L, 0.95L, 0.96L, 0.96L, 1.00L},
    {0.70L, 0.70L, 0.70L, 0.70L, 0.70L, 0.71L, 0.76L, 0.80L, 0.83L, 0.85L,
     0.87L, 0.88L, 0.90L, 0.90L, 0.91L, 0.92L, 0.93L, 0.93L, 0.94L, 0.94L,
     0.95L, 0.95L, 0.95L, 0.96L, 0.96L, 0.96L, 0.96L, 0.96L, 0.97L, 1.00L},
    {0.70L, 0.70L, 0.70L, 0.70L, 0.70L, 0.76L, 0.81L, 0.84L, 0.86L, 0.88L,
     0.89L, 0.90L, 0.92L, 0.92L, 0.93L, 0.94L, 0.94L, 0.95L, 0.95L, 0.95L,
     0.96L, 0.96L, 0.96L, 0.96L, 0.97L, 0.97L, 0.97L, 0.97L, 0.97L, 1.00L},
    {0.70L, 0.70L, 0.70L, 0.70L, 0.75L, 0.80L, 0.84L, 0.87L, 0.89L, 0.90L,
     0.91L, 0.92L, 0.93L, 0.94L, 0.94L, 0.95L, 0.95L, 0.96L, 0.96L, 0.96L,
     0.96L, 0.97L, 0.97L, 0.97L, 0.97L, 0.98L, 0.98L, 0.98L, 0.98L, 1.00L},
    {0.71L, 0.71L, 0.71L, 0.75L, 0.81L, 0.85L, 0.88L, 0.90L, 0.91L, 0.93L,
     0.93L, 0.94L, 0.95L, 0.95L, 0.96L, 0.96L, 0.97L, 0.97L, 0.97L, 0.97L,
     0.97L, 0.97L, 0.98L, 0.98L, 0.98L, 0.98L, 0.98L, 0.98L, 0.98L, 1.00L},
    {0.73L, 0.73L, 0.73L, 0.79L, 0.85L, 0.88L, 0.90L, 0.92L, 0.93L, 0.94L,
     0.95L, 0.95L, 0.96L, 0.96L, 0.97L, 0.97L, 0.97L, 0.98L, 0.98L, 0.98L,
     0.98L, 0.98L, 0.98L, 0.98L, 0.98L, 0.98L, 1.00L, 1.00L, 1.00L, 1.00L},
    {0.75L, 0.75L, 0.79L, 0.85L, 0.89L, 0.91L, 0.93L, 0.94L, 0.95L, 0.96L,
     0.96L, 0.97L, 0.97L, 0.97L, 0.98L, 0.98L, 0.98L, 0.98L, 0.98L, 1.00L,
     1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L},
    {0.78L, 0.78L, 0.85L, 0.90L, 0.92L, 0.94L, 0.95L, 0.96L, 0.96L, 0.97L,
     0.97L, 0.98L, 0.98L, 0.98L, 0.98L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L,
     1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L},
    {0.82L, 0.85L, 0.90L, 0.93L, 0.95L, 0.96L, 0.97L, 0.97L, 0.98L, 0.98L,
     0.98L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L,
     1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L},
    {0.86L, 0.90L, 0.94L, 0.96L, 0.97L, 0.97L, 0.98L, 0.98L, 1.00L, 1.00L,
     1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L,
     1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L},
    {0.90L, 0.94L, 0.96L, 0.98L, 0.98L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L,
     1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L,
     1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L},
    {0.95L, 0.98L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L,
     1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L,
     1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L},
    {1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L,
     1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L,
     1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L, 1.00L},
};

inline const KeyTableData& TableNamed(const std::string& name) {
    for (const auto& t : TranscribedKeyTables()) {
        if (t.name == name) {
            return t;
        }
    }
    throw std::logic_error("no table " + name);
}

// The text cell at (rowKey, columnKey); row 0 and column 0 (the keys and the table's name)
// are searched as well; "" when a key is not found.
inline std::string CellOf(const KeyTableData& t, const std::string& rowKey,
                          const std::string& columnKey) {
    int row = -1;
    if (rowKey == t.name) {
        row = 0;
    } else {
        for (std::size_t i = 0; i < t.rows.size() && row < 0; ++i) {
            if (t.rows[i].first == rowKey) {
                row = static_cast<int>(i) + 1;
            }
        }
    }
    int column = -1;
    if (columnKey == t.name) {
        column = 0;
    } else {
        for (std::size_t j = 0; j < t.columns.size() && column < 0; ++j) {
            if (t.columns[j] == columnKey) {
                column = static_cast<int>(j) + 1;
            }
        }
    }
    if (row < 0 || column < 0) {
        return "";
    }
    if (row == 0) {
        return column == 0 ? t.name : t.columns[static_cast<std::size_t>(column - 1)];
    }
    const auto& r = t.rows[static_cast<std::size_t>(row - 1)];
    return column == 0 ? r.first : r.second[static_cast<std::size_t>(column - 1)];
}

// Column 1 of the row whose key matches; the one-value tables.
inline std::string TextOf(const KeyTableData& t, const std::string& key) {
    if (key == t.name) {
        return t.columns.at(0);
    }
    for (const auto& r : t.rows) {
        if (r.first == key) {
            return r.second.at(0);
        }
    }
    return "";
}

// ---------------------------------------------------------------------------------------------
// Step 1: site influence value ST and the stone-reduced ST'.

struct Site {
    int region = 0;    // 0 ... 7 for A ... H
    int soilType = 0;  // position in the region's soil type list
    int gradient = 0;  // %
    int length = 0;    // flow length, m
    int stones = 0;    // %
    int direction = 0; // 0 down the slope, 1 across
};

inline int SoilTypeCount(int region) {
    return region == 5 ? 3 : region == 7 ? 2 : 4;
}

// Linear interpolation between neighbouring keys, the end values outside them.
inline Real Interpolated(const std::vector<Real>& keys, const std::vector<Real>& values, Real x) {
    if (x <= keys.front()) {
        return values.front();
    }
    for (std::size_t i = 1; i < keys.size(); ++i) {
        if (x == keys[i]) {
            return values[i];
        }
        if (x < keys[i]) {
            const Real t = (x - keys[i - 1]) / (keys[i] - keys[i - 1]);
            return values[i - 1] + t * (values[i] - values[i - 1]);
        }
    }
    return values.back();
}

inline Real SlopeExponent(Real gradient) {
    static const std::vector<Real> keys{0.2L, 0.5L, 1,  2,  3,  4,  5,  6,  8, 10,
                                        12,   14,   16, 20, 25, 30, 40, 50, 60};
    static const std::vector<Real> m{0.04L, 0.08L, 0.15L, 0.24L, 0.31L, 0.36L, 0.40L,
                                     0.43L, 0.48L, 0.52L, 0.55L, 0.57L, 0.59L, 0.61L,
                                     0.64L, 0.66L, 0.68L, 0.70L, 0.71L};
    return Interpolated(keys, m, gradient);
}

inline Real SoilFactor(int region, int soil) {
    static const Real f[8][4] = {
        {0.224L, 0.135L, 0.183L, 0.183L}, {0.266L, 0.11L, 0.189L, 0.189L},
        {0.238L, 0.135L, 0.18L, 0.18L},   {0.18L, 0.11L, 0.204L, 0.204L},
        {0.224L, 0.11L, 0.165L, 0.165L},  {0.115L, 0.174L, 0.174L, 0},
        {0.198L, 0.120L, 0.162L, 0.162L}, {0.424L, 0.162L, 0, 0},
    };
    return f[region][soil];
}

inline Real RegionFactor(int region, int soil) {
    static const Real f[8] = {80, 85, 90, 90, 90, 90, 85, 80};
    return region == 7 && soil == 1 ? 85 : f[region];
}

// Management across the slope: rows are the whole gradients 2 ... 18, so only the flow
// length is interpolated (clamped at both ends of both keys).
inline Real ContourFactor(int gradient, int length) {
    const int g = gradient < 2 ? 2 : gradient > 18 ? 18 : gradient;
    const Real* row = kContourFactor[g - 2];
    const Real x = length;
    if (x <= kContourColumns[0]) {
        return row[0];
    }
    for (int j = 1; j < 30; ++j) {
        if (x == kContourColumns[j]) {
            return row[j];
        }
        if (x < kContourColumns[j]) {
            const Real t = (x - kContourColumns[j - 1]) /
                           static_cast<Real>(kContourColumns[j] - kContourColumns[j - 1]);
            return row[j - 1] + t * (row[j] - row[j - 1]);
        }
    }
    return row[29];
}

inline Real Power(Real base, Real exponent) {
    if (exponent == 0) {
        return 1;
    }
    if (base == 0) {
        return 0;
    }
    return std::exp(exponent * std::log(base));
}

struct SiteValues {
    Real st = 0;
    Real stReduced = 0;
};

inline SiteValues SiteInfluence(const Site& s) {
    const Real m = SlopeExponent(s.gradient);
    const Real flow = Power(static_cast<Real>(s.length) / 22, m);
    const Real slope = Power(static_cast<Real>(s.gradient) / 9, 1.5L);
    const Real management = s.direction == 0 ? 1 : ContourFactor(s.gradient, s.length);
    SiteValues v;
    v.st = slope * flow * management * SoilFactor(s.region, s.soilType) *
           RegionFactor(s.region, s.soilType);
    const Real stones = s.stones;
    v.stReduced = v.st * ((1.0L - stones * 0.0194L) + stones * stones * 0.0001L);
    return v;
}

// ---------------------------------------------------------------------------------------------
// Step 2: the rotation checks and the crop rotation factor.

// One year as codes: crop as an index of Crops() (0 none); tillage, period type, period
// tillage and start as their codes, 0 for the blank entry and -1 for nothing chosen.
struct YearCodes {
    int crop = 0;
    int T = -1;
    int P = -1;
    int D = -1;
    int E = -1;
};

const std::string kGapMessage = "Lücke in der Fruchtfolge. Bitte lückenlos erfassen.";
const std::string kSequenceMessage =
    "Fehler in Abfolge der Hauptkulturen der Fruchtfolge. Bitte Abfolge korrigieren.";
const std::string kMissingMessage = "Fehlender Eingabewert. Bitte Eingabe komplettieren.";

struct YearValues {
    std::string main, mainRef, period, periodRef;
};

struct RotationResult {
    std::string message;     // the check's refusal; empty when accepted
    int first = 0, last = 0; // 0 for an empty rotation
    int years = 0;
    Real C = 0, CABAG = 0, BFPercentage = 0;
    int KWBCount = 0;
    std::array<Real, 24> shares{};   // A1..A6, B1..B4, B99, C1..C8, D1..D4, D99
    std::vector<YearValues> perYear; // years first ... last
};

inline const char* const kShareNames[24] = {
    "Total2A1", "Total2A2", "Total2A3", "Total2A4", "Total2A5",  "Total2A6",
    "Total2B1", "Total2B2", "Total2B3", "Total2B4", "Total2B99", "Total2C1",
    "Total2C2", "Total2C3", "Total2C4", "Total2C5", "Total2C6",  "Total2C7",
    "Total2C8", "Total2D1", "Total2D2", "Total2D3", "Total2D4",  "Total2D99"};

inline bool ContinuesStand(int cur, int next) {
    return ((cur == 3 || cur == 38) && next == 38) ||
           ((cur == 18 || cur == 19 || cur == 20) && next == 20) ||
           ((cur == 26 || cur == 27 || cur == 28) && next == 28);
}

inline std::string Positive(int n) {
    return n > 0 ? std::to_string(n) : std::string();
}

class RotationOracle {
public:
    explicit RotationOracle(std::array<YearCodes, 10> years) : y_(years) {}

    RotationResult Run() {
        RotationResult r;
        int last = 0;
        for (int k = 10; k >= 1 && last == 0; --k) {
            if (Code(k) > 0) {
                last = k;
            }
        }
        if (last == 0) {
            return r; // no rotation: C and every share 0, no check refuses
        }
        int first = 0, starts = 0;
        for (int k = 1; k <= last; ++k) {
            if (Code(k) > 0 && (k == 1 || y_[static_cast<std::size_t>(k - 2)].crop == 0)) {
                first = k;
                ++starts;
            }
        }
        F_ = first;
        L_ = last;
        if (starts > 1) {
            r.message = kGapMessage;
            return r;
        }
        for (int k = F_; k <= L_; ++k) {
            const int cur = Code(k), prev = Code(Prev(k));
            if ((cur == 20 && prev != 20 && prev != 19 && prev != 18) ||
                (cur == 28 && prev != 28 && prev != 27 && prev != 26) ||
                (cur == 38 && prev != 38 && prev != 3)) {
                r.message = kSequenceMessage;
                return r;
            }
        }
        // Follow-on years of a stand take the tillage of its sowing year.
        const std::vector<std::pair<std::vector<int>, int>> stands{
            {{3}, 38}, {{18, 19}, 20}, {{26, 27}, 28}};
        for (const auto& [starters, follower] : stands) {
            int remembered = 0;
            for (int k = F_; k <= L_; ++k) {
                const int code = Code(k);
                const bool starter =
                    std::find(starters.begin(), starters.end(), code) != starters.end();
                if (k == F_) {
                    if (starter || code == follower) {
                        remembered = Y(k).T;
                    }
                } else {
                    if (code == follower) {
                        Y(k).T = remembered;
                    }
                    if (starter) {
                        remembered = Y(k).T;
                    }
                }
            }
        }
        // A year whose stand goes on has no intermediate period.
        for (int k = F_; k <= L_; ++k) {
            if (ContinuesStand(Code(k), Code(Next(k)))) {
                Y(k).P = 1;
                Y(k).D = -1;
                Y(k).E = -1;
            }
        }
        for (int k = F_; k <= L_; ++k) {
            const YearCodes& c = Y(k);
            const bool missing =
                c.crop <= 0 || c.T <= 0 || c.P <= 0 || (c.P != 1 && (c.D <= 0 || c.E <= 0));
            if (missing) {
                r.message = kMissingMessage;
                return r;
            }
        }

        r.first = F_;
        r.last = L_;
        r.years = L_ - F_ + 1;
        const int n = r.years;
        int kwb = 0, bf = 0;
        for (int k = F_; k <= L_; ++k) {
            const std::string cls = Crop(k).cls;
            kwb += cls == "KWB";
            bf += cls == "BFS" || cls == "BFW";
        }
        kwb_ = kwb;
        bfPercentage_ = static_cast<Real>(bf) / n * 100;
        r.KWBCount = kwb;
        r.BFPercentage = bfPercentage_;

        std::array<int, 24> counts{};
        Real sum = 0;
        r.perYear.resize(static_cast<std::size_t>(n));
        for (int k = 10; k >= 1; --k) {
            if (k < F_ || k > L_) {
                continue;
            }
            YearValues& v = r.perYear[static_cast<std::size_t>(k - F_)];
            MainValue(k, v);
            PeriodValueOf(k, v);
            if (!v.period.empty()) {
                sum += Number(v.period);
            }
            if (!v.main.empty()) {
                sum += Number(v.main);
            }
            Count(k, counts);
        }
        const Real mean = sum / n;
        const Real c10 = mean * 10;
        r.CABAG = static_cast<Real>(RoundHalfEven(mean * 10000)) / 10000;
        r.C = static_cast<Real>(RoundHalfEven(c10 * 1000)) / 1000;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            r.shares[i] =
                static_cast<Real>(RoundHalfEven(static_cast<Real>(counts[i]) / n * 1000)) / 10;
        }
        return r;
    }

private:
    YearCodes& Y(int k) { return y_[static_cast<std::size_t>(k - 1)]; }
    const oracle::Crop& Crop(int k) { return Crops()[static_cast<std::size_t>(Y(k).crop)]; }
    int Code(int k) { return Crops()[static_cast<std::size_t>(Y(k).crop)].code; }
    std::string Group(int k) { return Crop(k).group; }
    int Prev(int k) const { return k == F_ ? L_ : k - 1; }
    int Next(int k) const { return k == L_ ? F_ : k + 1; }

    static Real Number(const std::string& text) {
        char* end = nullptr;
        const Real v = std::strtold(text.c_str(), &end);
        if (end == text.c_str() || *end != '\0') {
            throw std::logic_error("cell is no number: " + text);
        }
        return v;
    }

    void OneValue(const std::string& table, const std::string& row, YearValues& v) {
        v.main = TextOf(TableNamed(table), row);
        v.mainRef = table + "/" + row;
    }
    void Cell(const std::string& table, const std::string& row, const std::string& column,
              const std::string& refColumn, YearValues& v) {
        v.main = CellOf(TableNamed(table), row, column);
        v.mainRef = table + "/" + row + "/" + refColumn;
    }

    void MainValue(int k, YearValues& v) {
        const int prev = Prev(k), next = Next(k), prev2 = Prev(Prev(k));
        const std::string g = Group(k), prevG = Group(prev), nextG = Group(next),
                          prev2G = Group(prev2);
        const int code = Code(k), prevCode = Code(prev), nextCode = Code(next);
        const bool spring = Crop(next).spring;
        const std::string R = Positive(Y(k).T);
        if (g == "KW") {
            std::string t;
            if (prevG == "KW" && nextG == "KW")
                t = "Tab21";
            else if (prevG == "KW" && spring)
                t = "Tab23";
            else if (prevG == "KW")
                t = "Tab22";
            else if (code == 19 && nextG == "KW")
                t = "Tab15";
            else if (code == 19 && !spring)
                t = "Tab16";
            else if (code == 19)
                t = "Tab17";
            else if (nextG == "KW")
                t = "Tab18";
            else if (!spring)
                t = "Tab19";
            else
                t = "Tab20";
            OneValue(t, R, v);
        } else if (g == "RB") {
            std::string t;
            if (prevG == "RB" && (nextG == "RB" || spring || nextCode == 19 || nextCode == 3))
                t = "Tab26";
            else if (prevG == "RB")
                t = "Tab27";
            else if (code == 26)
                t = "Tab24";
            else
                t = "Tab25";
            OneValue(t, R, v);
        } else if (g == "CH") {
            std::string t;
            if (code == 3)
                t = "Tab28";
            else if (nextG != "CH" || nextCode == 3)
                t = "Tab31";
            else if (prevCode == 3)
                t = "Tab29";
            else
                t = "Tab30";
            OneValue(t, R, v);
        } else if (g == "WW") {
            std::string column = "11";
            if (prevCode == 15 || prevCode == 16)
                column = "12";
            else if (prevCode == 21)
                column = "13";
            else if (prevCode == 29 || prevCode == 30)
                column = "14";
            const std::string refColumn = column.substr(1);
            if (kwb_ <= 1)
                Cell("Tab14", R, column, refColumn, v);
            else if (prevG == "KW")
                OneValue("Tab12", R, v);
            else if (prev2G == "KW")
                Cell("Tab13", R, column, refColumn, v);
            else
                Cell("Tab14", R, column, refColumn, v);
        } else {
            const std::string letter(1, Crop(k).column);
            std::string t;
            if (g == "BF") {
                const bool many = bfPercentage_ >= 50;
                if (many && kwb_ <= 1)
                    t = "Tab06";
                else if (many && prevG == "KW")
                    t = "Tab02";
                else if (many && prev2G == "KW")
                    t = "Tab04";
                else if (many)
                    t = "Tab06";
                else if (kwb_ <= 1)
                    t = "Tab05";
                else if (prevG == "KW")
                    t = "Tab01";
                else if (prev2G == "KW")
                    t = "Tab03";
                else
                    t = "Tab05";
            } else { // HF
                const bool root =
                    prevCode == 15 || prevCode == 16 || prevCode == 29 || prevCode == 30;
                if (root && kwb_ <= 1)
                    t = "Tab11";
                else if (root && prev2G == "KW")
                    t = "Tab10";
                else if (root)
                    t = "Tab11";
                else if (kwb_ <= 1)
                    t = "Tab09";
                else if (prevG == "KW")
                    t = "Tab07";
                else if (prev2G == "KW")
                    t = "Tab08";
                else
                    t = "Tab09";
            }
            Cell(t, R, letter, letter, v);
        }
    }

    void PeriodValueOf(int k, YearValues& v) {
        const YearCodes& c = Y(k);
        const std::string DS = Positive(c.D), ES = Positive(c.E), TS = Positive(c.T);
        const bool bf = Group(k) == "BF";
        std::string table, row;
        if (c.P <= 0) {
            v.period = "0";
            return;
        }
        if (c.P >= 5) {
            static const char* const byType[] = {"Tab35", "Tab34", "Tab33", "Tab32"};
            table = byType[c.P - 5];
            row = DS;
        } else if (c.P == 2) {
            table = "Tab40";
            row = "1";
        } else if (c.P == 4) {
            table = c.T == 1 ? "Tab38" : "Tab39";
            row = bf ? "2" : "1";
        } else {
            table = bf ? "Tab37" : "Tab36";
            row = TS;
        }
        v.period = CellOf(TableNamed(table), row, ES);
        v.periodRef = table + "/" + row + "/" + ES;
    }

    void Count(int k, std::array<int, 24>& counts) {
        static const char* const classes[] = {"KWB", "HFW", "HFS", "BFW", "BFS", "SOK"};
        for (std::size_t i = 0; i < 6; ++i) {
            if (std::string(Crop(k).cls) == classes[i]) {
                ++counts[i];
            }
        }
        const YearCodes& c = Y(k);
        if (c.T >= 1 && c.T <= 4)
            ++counts[static_cast<std::size_t>(6 + c.T - 1)];
        if (c.T == 99)
            ++counts[10];
        if (c.P >= 1 && c.P <= 8)
            ++counts[static_cast<std::size_t>(11 + 8 - c.P)];
        if (c.D >= 1 && c.D <= 4)
            ++counts[static_cast<std::size_t>(19 + c.D - 1)];
        if (c.D == 99 || c.D == -1)
            ++counts[23];
    }

    std::array<YearCodes, 10> y_;
    int F_ = 0, L_ = 0;
    int kwb_ = 0;
    Real bfPercentage_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Steps 3 to 7.

struct Rills {
    int channels = 1, number = 0, depthSeveral = 0, depthSingle = 0, width = 0, frequency = 0;
};

// Hidden questions hold their first answer.
inline Rills Normalised(Rills r) {
    if (r.channels == 1) {
        return Rills{};
    }
    if (r.number == 0) {
        r.depthSeveral = 0;
        if (r.depthSingle == 2) {
            r.width = 0;
        }
    } else {
        r.depthSingle = 0;
        r.width = 0;
    }
    return r;
}

inline Real RillSurcharge(const Rills& r) {
    const int code =
        r.channels * 1000 + r.number * 100 + r.depthSeveral * 10 + r.depthSingle * 10 + r.width;
    static const std::vector<std::pair<int, std::array<Real, 5>>> table{
        {0, {8, 4, 3, 2, 1}},        {1, {60, 30, 20, 15, 8}},  {10, {20, 10, 7, 5, 3}},
        {11, {150, 75, 50, 40, 20}}, {20, {40, 20, 13, 10, 5}}, {100, {25, 13, 8, 6, 3}},
        {110, {50, 25, 18, 13, 7}},  {1000, {0, 0, 0, 0, 0}},
    };
    for (const auto& [key, values] : table) {
        if (key == code) {
            return values.at(static_cast<std::size_t>(r.frequency));
        }
    }
    throw std::logic_error("rill code " + std::to_string(code));
}

inline int RegionalDepth(int region) {
    static const int depth[8] = {80, 80, 80, 80, 80, 60, 80, 90};
    return depth[region];
}

inline std::string FertilityRisk(Real efl, int depth) {
    static const char* const bands[8][13] = {
        {"1A", "1A", "2", "3", "3", "3", "3", "3", "3", "3", "3", "3", "3"},
        {"1A", "1A", "2", "2", "3", "3", "3", "3", "3", "3", "3", "3", "3"},
        {"1A", "1A", "2", "2", "2", "2", "3", "3", "3", "3", "3", "3", "3"},
        {"0", "1A", "1B", "2", "2", "2", "2", "2", "3", "3", "3", "3", "3"},
        {"0", "1A", "1B", "1B", "2", "2", "2", "2", "2", "3", "3", "3", "3"},
        {"0", "0", "1A", "1A", "1B", "2", "2", "2", "2", "2", "3", "3", "3"},
        {"0", "0", "0", "1A", "1B", "1B", "2", "2", "2", "2", "2", "3", "3"},
        {"0", "0", "0", "0", "1B", "1B", "1B", "2", "2", "2", "2", "2", "3"},
    };
    const long long e = RoundHalfEven(efl);
    const long long column = e <= 10 ? 0 : std::min<long long>(12, (e - 1) / 10);
    const int row = depth <= 29 ? 0 : depth <= 40 ? 1 : std::min(7, (depth - 1) / 10 - 2);
    return bands[row][column];
}

inline std::string WholeText(Real v) {
    return std::to_string(RoundHalfEven(v));
}

inline std::string FixedText(Real v, int decimals) {
    long long scale = 1;
    for (int i = 0; i < decimals; ++i) {
        scale *= 10;
    }
    const long long n = RoundHalfEven(v * static_cast<Real>(scale));
    std::string fraction = std::to_string(n % scale);
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    return std::to_string(n / scale) + "." + fraction;
}

// The C field: up to 15 significant digits, no trailing zeros, empty for 0.
inline std::string CText(Real c) {
    if (!(c > 0)) {
        return "";
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15Lg", c);
    return buffer;
}

} // namespace brisolt::oracle
