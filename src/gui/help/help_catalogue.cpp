#include "gui/help/help_catalogue.h"

#include <initializer_list>
#include <string>

namespace brisolt::gui {

namespace {

using Kind = HelpElement::Kind;

HelpElement T(int x, int y, int width, const char* text, int pixelSize = 13) {
    HelpElement e;
    e.x = x;
    e.y = y;
    e.width = width;
    e.text = QString::fromUtf8(text);
    e.pixelSize = pixelSize;
    return e;
}

HelpElement Bold(HelpElement e) {
    e.bold = true;
    return e;
}

HelpElement Framed(HelpElement e) {
    e.framed = true;
    return e;
}

HelpElement Centred(HelpElement e) {
    e.centred = true;
    return e;
}

HelpElement Italic(HelpElement e) {
    e.italic = true;
    return e;
}

HelpElement Sized(HelpElement e, int height) {
    e.height = height;
    return e;
}

HelpElement Panel(int x, int y, int width, int height, const char* caption = "") {
    HelpElement e = T(x, y, width, caption);
    e.kind = Kind::Panel;
    e.height = height;
    e.bold = true;
    return e;
}

HelpElement Picture(const char* name, int x, int y, int width, int height) {
    HelpElement e = T(x, y, width, name);
    e.kind = Kind::Picture;
    e.height = height;
    return e;
}

// A horizontal line, as under the numerator of a fraction.
HelpElement Rule(int x, int y, int width) {
    HelpElement e = Framed(T(x, y, width, ""));
    e.height = 1;
    return e;
}

using Elements = std::vector<HelpElement>;

void Add(Elements& to, std::initializer_list<HelpElement> elements) {
    to.insert(to.end(), elements);
}

// A numbered or bulleted item: the mark in a narrow column, the text beside it.
void Item(Elements& to, int markX, int textX, int right, int gap, const char* mark,
          const char* text, int pixelSize = 13) {
    Add(to, {T(markX, Below(gap), textX - markX, mark, pixelSize),
             T(textX, kSameRow, right - textX, text, pixelSize)});
}

// A framed term with its framed definition beside it.
void Definition(Elements& to, int termX, int termWidth, int textX, int textWidth, const char* term,
                const char* text, int pixelSize) {
    Add(to, {Framed(T(termX, Below(0), termWidth, term, pixelSize)),
             Framed(T(textX, kSameRow, textWidth, text, pixelSize))});
}

// A bold group heading with one entry per 16-pixel line below it.
void Column(Elements& to, int x, int y, int width, const char* heading,
            std::initializer_list<const char*> entries) {
    to.push_back(Sized(Bold(T(x, y, width, heading)), 16));
    for (const char* entry : entries) {
        y += 16;
        to.push_back(Sized(T(x, y, width, entry), 16));
    }
}

HelpPageDescription Page(int number, const char* windowTitle, const char* title) {
    HelpPageDescription page;
    page.number = number;
    page.windowTitle = QString::fromUtf8(windowTitle);
    page.title = QString::fromUtf8(title);
    return page;
}

HelpPageDescription Chained(HelpPageDescription page, int back, int next) {
    page.back = back;
    page.next = next;
    return page;
}

// ---- Site inputs -----------------------------------------------------------------------

HelpPageDescription RegionMap() {
    HelpPageDescription page = Page(116, "Hilfe: Region", "");
    page.regionMap = true;
    page.closeButton = false;
    page.elements.push_back(Picture("region_map", 0, 0, 1783, 1608));
    return page;
}

#ifdef BRISOLT_HAVE_TERRAIN
// Both figures can also be measured on an elevation model; the program has that command only
// where it is built with GDAL, so only there do the pages mention it. The flow length's page
// says what is measured, in its own terms.
HelpElement TerrainParagraph(int x, int y, int width, bool flowLength) {
    static const std::string common =
        "Gefälle und Fliessstrecke lassen sich auch aus einem Höhenmodell bestimmen: Der "
        "Befehl \"Gefälle und Fliessstrecke aus Höhenmodell …\" im Menü \"Datei\" von "
        "Schritt 1 liest das Höhenmodell (Rasterdatei, z. B. GeoTIFF) und die Parzellen des "
        "Betriebs (z. B. GeoPackage oder Shapefile), zeigt die gewählte Parzelle mit ihrer "
        "längsten Fliessstrecke auf dem Relief und trägt mit \"Übernehmen\" das mittlere "
        "Gefälle und die Fliessstrecke ein. Der Rand der Parzelle zählt beim Gefälle nicht mit.";
    static const std::string flow =
        common +
        " Als Fliessstrecke misst das Programm nur den flächenhaften Abfluss: vom Ort, wo er "
        "beginnen kann, bis zum Rand der Parzelle, bis zur Hangmulde oder zum Graben, wo sich "
        "das Wasser bündelt (Talweg), bis zum Rand einer Senke oder bis dorthin, wo das Gelände "
        "so flach wird, dass sich die Erde absetzt; den gebündelten Abfluss zählt es nicht mit.";
    return T(x, y, width, (flowLength ? flow : common).c_str());
}
#endif

HelpPageDescription Gradient1() {
    HelpPageDescription page = Chained(Page(107, "Hilfe: Gefälle (1)", "Gefälle"), 0, 132);
    page.nextCaption = QStringLiteral("Umrechnung");
    page.nextX = 16;
    Add(page.elements,
        {Panel(24, 160, 641, 161),
         T(40, 176, 609,
           "Das Gefälle lässt sich mit Hilfe eines einfachen Gefällsmessers oder Inklinometers "
           "bestimmen."),
         T(40, Below(8), 609, "Beträgt das Gefälle weniger als 2% ?"),
         Panel(24, 240, 321, 81, "Nein"), Panel(344, 240, 321, 81, "Ja"),
         T(40, 264, 289, "Gefälle der Parzelle eintragen"),
         T(360, 264, 289,
           "Der Schlag ist kaum erosionsgefährdet. Weitere Abklärungen erübrigen sich.")});
#ifdef BRISOLT_HAVE_TERRAIN
    page.elements.push_back(TerrainParagraph(24, 340, 641, false));
#endif
    return page;
}

HelpPageDescription Gradient2() {
    HelpPageDescription page = Chained(Page(132, "Hilfe: Gefälle (2)", "Umrechnung"), 107, 0);
    page.elements.push_back(Picture("protractor", 24, 80, 417, 337));
    return page;
}

HelpPageDescription Flow1() {
    HelpPageDescription page = Chained(
        Page(106, "Hilfe: Fliessstrecke des Wassers (1)", "Fliessstrecke des Wassers"), 0, 117);
    Add(page.elements,
        {T(40, 64, 609,
           "Je nach Lage und Oberflächenform des Schlages fliesst das Oberflächenwasser "
           "unterschiedlich ab."),
         Bold(T(40, Below(16), 609, "Vorgehen:"))});
    Item(page.elements, 40, 64, 649, 8, "1.",
         "Feststellen, wo sich der Schlag im Gelände befindet.");
    HelpElement stepHelp = T(16, kSameRow, 17, "?");
    stepHelp.kind = Kind::StepHelp;
    stepHelp.height = 17;
    page.elements.push_back(stepHelp);
    Item(page.elements, 40, 64, 649, 8, "2.",
         "Fliessstrecke des Wassers festlegen. Bei vielfältigen Abflussverhältnissen können "
         "auch mehrere Fliessstrecken angenommen werden, deren Längen zu mitteln sind. "
         "Wichtig: Fliessstrecken von gebündeltem Abfluss in einer Hangmulde oder einem "
         "künstlichen Graben usw. werden nicht berücksichtigt.");
    Item(page.elements, 40, 64, 649, 8, "3.",
         "Länge der Fliessstrecke des Wassers abschätzen (allenfalls durch Abschreiten). "
         "Geschätzt wird immer vom unteren Ende der Fliessstrecke aufwärts bis zum Ort, wo "
         "der flächenhafte Abfluss beginnen kann.");
#ifdef BRISOLT_HAVE_TERRAIN
    page.elements.push_back(TerrainParagraph(40, Below(16), 609, true));
#endif
    return page;
}

HelpPageDescription FlowLocation(int number, const char* windowTitle, int back, int next,
                                 const char* picture, const char* caption) {
    HelpPageDescription page =
        Chained(Page(number, windowTitle, "Wo befindet sich der Schlag?"), back, next);
    Add(page.elements, {Picture(picture, 24, 80, 417, 337), Bold(T(448, 80, 217, caption, 19))});
    return page;
}

HelpPageDescription Stones1() {
    HelpPageDescription page =
        Chained(Page(103, "Hilfe: Oberflächenbedeckung mit Steinen (1)",
                     "Abschätzung des schützenden Effektes von Steinen an der Bodenoberfläche"),
                0, 101);
    Add(page.elements,
        {Panel(24, 80, 641, 273),
         T(40, 96, 609,
           "Steine an der Bodenoberfläche schützen den Boden vor dem Aufprall der "
           "Regentropfen. Steine in der Krume erhöhen die Durchlässigkeit des Bodens."),
         T(40, Below(10), 609,
           "Diese erosionsmindernden Effekte lassen sich mit einer Korrektur des Wertes ST "
           "(Standorteinflüsse) berücksichtigen."),
         Bold(T(40, Below(14), 609, "Vorgehen")),
         T(40, Below(4), 609,
           "Prozentanteil der mit Steinen bedeckten Bodenoberfläche abschätzen. Als "
           "Hilfsmittel dienen die auf dem nächsten Formular aufgeführten "
           "Vergleichsabbildungen."),
         T(40, Below(14), 609,
           "Die Oberflächenbedeckung mit Steinen beträgt mehr als 5% (Steine von mehr als 1 "
           "cm Durchmesser)"),
         Panel(24, 352, 321, 81, "ja"), Panel(344, 352, 321, 81, "nein"),
         T(40, 376, 289, "Der Wert ST wird entsprechend dem Steingehalt reduziert."),
         T(360, 376, 289,
           "Ein zusätzlicher schützender Einfluss durch Steine existiert nicht oder kaum. Der "
           "Wert ST bleibt unverändert.")});
    return page;
}

HelpPageDescription Stones2() {
    HelpPageDescription page =
        Chained(Page(101, "Hilfe: Oberflächenbedeckung mit Steinen (2)",
                     "Vergleichstafel für die Abschätzung der Bodenbedeckung durch Steine"),
                103, 0);
    page.backX = 568;
    page.backY = 408;
    Add(page.elements,
        {Panel(24, 72, 641, 65),
         T(40, 78, 609, "Hinweise zur Abschätzung der Bodenabdeckung durch Steine:")});
    Item(page.elements, 40, 64, 649, 1, "1.",
         "Nur Steine mit einem Durchmesser von mehr als 1 cm berücksichtigen.");
    Item(page.elements, 40, 64, 649, 1, "2.",
         "Die Abschätzung soll die durchschnittliche Situation auf dem Schlag wiedergeben.");
    const char* names[] = {"stones_2",  "stones_5",  "stones_10",
                           "stones_15", "stones_20", "stones_25"};
    const char* captions[] = {"2%", "5%", "10%", "15%", "20%", "25%"};
    for (int i = 0; i < 6; ++i) {
        const int x = 24 + 168 * (i % 3);
        const int y = i < 3 ? 140 : 312;
        Add(page.elements,
            {Picture(names[i], x, y, 153, 153), Centred(T(x, y + 155, 153, captions[i]))});
    }
    return page;
}

HelpPageDescription Feel1() {
    HelpPageDescription page =
        Chained(Page(130, "Hilfe: Bodentyp (1)", "Fühlprobe für mineralische Böden"), 0, 131);
    page.elements.push_back(
        T(24, 64, 641,
          "Die Bodenart wird anhand der Körnung beurteilt. Die Körnung kann entweder mit Hilfe der "
          "Fühlprobe oder durch Analyse im Labor bestimmt werden. Für die Fühlprobe entnehme man "
          "etwas feldfeuchten Boden in die Hand. Durch Zerreiben, Zusammenballen und Ausrollen "
          "lässt sich die Körnung mit Hilfe der Tabelle beurteilen."));
    const char* captions[] = {"Zerreiben zwischen den Fingern, Haftung an den Fingern "
                              "(Konsistenz)",
                              "Formbarkeit", "Ausrollbarkeit"};
    for (int i = 0; i < 3; ++i) {
        const int x = 32 + 208 * i;
        const QString name = QStringLiteral("feel_%1").arg(i + 1);
        HelpElement picture = Picture("", x, 176, 209, 207);
        picture.text = name;
        Add(page.elements, {picture, Centred(Bold(T(x, 388, 208, captions[i])))});
    }
    return page;
}

HelpPageDescription Feel2() {
    HelpPageDescription page =
        Chained(Page(131, "Hilfe: Bodentyp (2)", "Fühlprobe für mineralische Böden"), 130, 0);
    struct Column {
        int x;
        int width;
        const char* heading;
    };
    const Column columns[] = {{24, 112, "Konsistenz"},      {144, 112, "Formbarkeit"},
                              {264, 112, "Ausrollbarkeit"}, {384, 52, "Typ"},
                              {440, 152, "Körnungsklasse"}, {600, 72, "Tongehalt %"}};
    for (const Column& column : columns) {
        page.elements.push_back(Bold(T(column.x, 56, column.width, column.heading)));
    }
    const char* rows[3][6] = {
        {"deutlich körnig, nicht klebrig", "schlecht bis mässig zusammenballbar",
         "Durchmesser des Röllchens grösser als 7 mm", "leichte Böden",
         "Sand (S)\nschluffiger Sand (uS)\nlehmiger Sand (lS)\nstark lehmiger Sand (slS)",
         "0-5\n0-5\n5-10\n10-15"},
        {"körnig bis mehlig, wenig klebrig", "mässig bis gut zusammenballbar",
         "Durchmesser des Röllchens 7 mm bis 2 mm", "mittel- schwere Böden",
         "sandiger Lehm (sL)\nLehm (L)\nlehmiger Schluff (lU)", "15-20\n20-30\n10-30"},
        {"nicht körnig, deutlich klebrig", "gut bis sehr gut zusammenballbar",
         "Durchmesser des Röllchens kleiner als 2 mm", "schwere Böden",
         "toniger Lehm (tL)\nlehmiger Ton (lT)\nTon (T)\ntoniger Schluff (tU)",
         "30-40\n40-50\n>50\n30-50"}};
    for (const auto& row : rows) {
        for (int c = 0; c < 6; ++c) {
            page.elements.push_back(
                T(columns[c].x, c == 0 ? Below(10) : kSameRow, columns[c].width, row[c]));
        }
    }
    Add(page.elements,
        {Bold(T(24, Below(16), 641, "Schluffböden - ein Spezialfall:")),
         T(24, Below(4), 641,
           "Schluffböden enthalten immer mehr als 50% Schluff. Reine Schluffböden (U) mit "
           "einem Tonanteil von weniger als 10% passen nicht in das obige Schema. Sie fühlen "
           "sich im nassen Zustand seifig und im trockenen Zustand mehlig an. Sie kommen "
           "verhältnismässig selten vor.")});
    return page;
}

// ---- Crop rotation factor ----------------------------------------------------------------

HelpPageDescription RotationEntry() {
    HelpPageDescription page = Page(110, "Hilfe: Fruchtfolgefaktor - Einstieg", "");
    page.section = HelpSection::Entry;
    page.closeButton = false;
    Add(page.elements,
        {Bold(T(16, 16, 657, "Was drückt der Fruchtfolgefaktor aus?")),
         T(16, Below(4), 657,
           "Der Fruchtfolgefaktor gibt an, wie gut die Fruchtfolge und die damit "
           "zusammenhängende Bodenbearbeitung den Boden vor Erosion schützt. Er wird für die "
           "Ackerflächen, also offenes Ackerland, Kunstwiesen und Rotations-/Buntbrachen "
           "bestimmt."),
         T(16, Below(8), 657,
           "Der Fruchtfolgefaktor ist eine Verhältniszahl zwischen annähernd 0 (fast "
           "vollständiger Schutz vor Erosion) und maximal etwa 4 in der Einteilung des "
           "Bodenerosionsschlüssels bzw. 0,4 als C-Faktor in der Allgemeinen "
           "Bodenabtragsgleichung."),
         Bold(T(16, Below(16), 657, "Was ist neu in Schritt 2 \"Fruchtfolgefaktor bestimmen\"?")),
         T(16, Below(4), 657,
           "Die vorliegende Programmversion ermöglicht es, die Abfolge der Hauptkulturen, Typ "
           "und Dauer der Zwischenperioden sowie die Art der Bodenbearbeitung detailliert zu "
           "erfassen. Folgende Effekte sind berücksichtigt:")});
    const char* effects[] = {
        "Intensität der Bodenbearbeitung (4 Typen).",
        "Einfluss der Zwischenperiode, unterschieden nach Typ, Bodenbearbeitung und Zeitpunkt "
        "des Beginns.",
        "Erosionsmindernder Effekt mehrjähriger Kunstwiesen auf die Hauptkulturen der beiden "
        "Folgejahre.",
        "Erosionsverstärkender Effekt von Wurzelfrüchten auf die Folgekulturen Getreide und "
        "Raps.",
        "Erosionsverstärkender Effekt spät räumender Vorkulturen (Körnermais, Zucker- oder "
        "Futterrüben) auf die Folgekultur Winterweizen.",
        "Unterschiedliches Erosionsrisiko bei mehrjährigen Ackerkulturen (z.B. Chinaschilf, "
        "Buntbrachen, mehrjährige Kunstwiesen) im ersten Jahr und in den Folgejahren."};
    for (const char* effect : effects) {
        Item(page.elements, 16, 32, 673, 4, "-", effect);
    }
    return page;
}

HelpPageDescription RotationProcedure() {
    HelpPageDescription page = Page(133, "Hilfe: Fruchtfolgefaktor - Vorgehen", "");
    page.section = HelpSection::Procedure;
    page.closeButton = false;
    auto& e = page.elements;
    e.push_back(T(16, 16, 24, "1."));
    e.push_back(
        T(40, kSameRow, 633, "Erstes Anbaujahr der zu beurteilenden Fruchtfolge festlegen."));
    Item(e, 16, 40, 673, 8, "2.",
         "Vollständige Eingabe der erforderlichen Bewirtschaftungsdaten (Hauptkulturen, "
         "Zwischenperioden, jeweilige Bodenbearbeitung sowie Beginn der Zwischenperiode).");
    e.push_back(Italic(T(40, Below(2), 633,
                         "Die Eingaben müssen vollständig und lückenlos sein, d.h. im 1. Jahr "
                         "mit einer Hauptkultur beginnen und das letzte Fruchtfolgejahr mit den "
                         "Angaben zur Zwischenperiode abschliessen.")));
    Item(e, 16, 40, 673, 8, "3.",
         "Ist die Eingabe komplett, wird nach dem Befehl \"Berechnen\" der entsprechende "
         "Fruchtfolgefaktor im Kästchen \"Fruchtfolgefaktor (C) (nach Schlüssel)\" angezeigt.");
    Item(e, 16, 40, 673, 8, "4.", "Für den weiteren Ablauf bestehen nun vier Möglichkeiten:");
    Item(e, 40, 64, 673, 4, "1.",
         "Mit dem Befehl \"Schritt 2 drucken\" kann die beurteilte Fruchtfolge mit sämtlichen "
         "Eingabedaten und dem Berechnungsergebnis ausgedruckt werden (diese Details erscheinen "
         "im Auswerteprotokoll am Ende des Programmdurchlaufs nicht mehr).");
    Item(e, 40, 64, 673, 4, "2.",
         "Der Bewertungsablauf wird unter Berücksichtigung der beurteilten Fruchtfolge direkt "
         "fortgesetzt (Befehl \"Weiter\").");
    Item(e, 40, 64, 673, 4, "3.",
         "Einzelne Eingaben zur Bewirtschaftung können direkt im entsprechenden "
         "Bewirtschaftungsjahr geändert werden (z. B. durch Ersetzen einer Hauptkultur, wobei "
         "alle Eingabeelemente des entsprechenden Anbaujahres automatisch gelöscht werden und "
         "eine Neueingabe erfordern). Mittels Befehl \"Berechnen\" erfolgt eine Neuberechnung "
         "unter Berücksichtigung der neuen Eingabe.");
    Item(e, 40, 64, 673, 4, "4.",
         "Nach der ersten Berechnung (und evtl. anschliessendem Ausdrucken) können alle "
         "Eingabedaten mittels Befehl \"Felder leeren\" gelöscht werden. So lassen sich direkt "
         "die Daten für eine andere Fruchtfolge eingeben (Beginn wieder mit 1. Schritt).");
    return page;
}

HelpPageDescription RotationMainCrops() {
    HelpPageDescription page = Page(134, "Hilfe: Fruchtfolgefaktor - Hauptkulturen", "");
    page.section = HelpSection::MainCrops;
    page.closeButton = false;
    auto& e = page.elements;
    e.push_back(T(16, 16, 657, "Zur Auswahl stehen insgesamt 34 verschiedene Hauptkulturen."));
    Column(e, 16, 48, 184, "Halmfrüchte Winter",
           {"Gerste (Winter)", "Hafer (Winter)", "Triticale (Winter)", "Weizen (Winter)", "Dinkel",
            "Einkorn", "Emmer", "Korn", "Roggen (Winter)"});
    Column(e, 16, 224, 184, "Blattfrüchte Winter",
           {"Ackerbohnen (Winter)", "Eiweiss-/Ackererbsen (Winter)", "Raps (Winter)"});
    Column(e, 208, 48, 192, "Halmfrüchte Sommer",
           {"Gerste (Sommer)", "Hafer (Sommer)", "Triticale (Sommer)", "Weizen (Sommer)"});
    Column(e, 208, 224, 192, "Blattfrüchte Sommer",
           {"Ackerbohnen (Sommer)", "Eiweiss-/Ackererbsen (Sommer)", "Raps (Sommer)",
            "Kartoffeln (Saatkartoffeln)", "Kartoffeln (übrige)", "Mais (Körnermais)",
            "Mais (Silomais)", "Rüben (Futterüben)", "Rüben (Zuckerrüben)", "Soja", "Sonnenblumen",
            "Tabak"});
    Column(e, 408, 48, 273, "Sonderkulturen",
           {"Chinaschilf 1. Jahr *", "Chinaschilf 2. und folgende Jahre *", "Feldgemüse",
            "Hanf (Faserhanf)"});
    Column(e, 408, 208, 273, "Kunstwiese plus Rotations-/Buntbrachen",
           {"Kunstwiese 1. Jahr (Frühlingssaat) *", "Kunstwiese 1. Jahr (Sommer-/Herbstsaat) *",
            "Kunstwiese 2. und folgende Jahre *", "Rotations-/Buntbrache (Frühlingssaat) *",
            "Rotations-/Buntbrache (Herbstsaat) *",
            "Rotations-/Buntbrache 2. und folgende Jahre *"});
    e.push_back(Sized(T(408, 416, 273, "*   mehrjährige Ackerkulturen"), 16));
    return page;
}

HelpPageDescription RotationTillage() {
    HelpPageDescription page =
        Page(135, "Hilfe: Fruchtfolgefaktor - Bodenbearbeitung bzw. Anbauverfahren", "");
    page.section = HelpSection::Tillage;
    page.closeButton = false;
    auto& e = page.elements;
    Add(e, {T(8, 16, 673,
              "Die Art der Bodenbearbeitung wirkt sich direkt und indirekt auf die "
              "Erosionsanfälligkeit eines Ackerschlages aus. Obwohl viele verschiedene "
              "Bodenbearbeitungsgeräte existieren, die unterschiedlich intensiv eingesetzt und "
              "miteinander kombiniert werden können, lässt sich die bodenbearbeitungsabhängige "
              "Erosionsanfälligkeit ausreichend präzis durch die vier folgenden "
              "Intensitätsstufen wiedergeben:"),
            Bold(T(8, Below(12), 673, "Intensitäten der Bodenbearbeitung bzw. Anbausysteme:")),
            Sized(T(8, Below(0), 673, ""), 6)});
    Definition(e, 8, 217, 224, 457, "Pflug / pfluglos unter 10% Bedeckung:",
               "Wendende Bodenbearbeitung mit Pflug oder lockernde Bodenbearbeitung mit "
               "Grubber, wobei aber nur sehr wenig Pflanzenreste an der Bodenoberfläche "
               "verbleiben.",
               13);
    Definition(e, 8, 217, 224, 457, "Mulchsaat 10-30% Bedeckung:",
               "Keine wendende Bodenbearbeitung; zur Saatbettbereitung für die Haupt- oder "
               "Zwischenkultur ist die Bodenoberfläche noch zu 10% bis 30% durch "
               "Pflanzenreste bedeckt.",
               13);
    Definition(e, 8, 217, 224, 457, "Mulchsaat über 30% Bedeckung:",
               "Wie oben. Allerdings mit einer Bodenbedeckung zur Einsaat von über 30%.", 13);
    Definition(e, 8, 217, 224, 457, "Direktsaat / Streifenfrässaat:",
               "Bei Direktsaat keine und bei Streifenfrässaat nur minimale Bodenbearbeitung.", 13);
    Add(e, {Bold(T(8, Below(16), 128, "Wichtige Hinweise:")), T(136, kSameRow, 24, "a)"),
            T(160, kSameRow, 521,
              "Bei Kartoffeln und Tabak sind keine Direktsaat- oder "
              "Streifenfrässaatverfahren möglich; hier stehen deshalb nur 3 "
              "Bodenbearbeitungsintensitäten zur Auswahl")});
    Item(e, 136, 160, 681, 6, "b)",
         "Bei den mehrjährigen Ackerkulturen muss die Bodenbearbeitung nur für das Saatjahr "
         "angegeben werden (ausser bei einer Neueinsaat, welche eine erneute "
         "Bodenbearbeitung voraussetzt).");
    return page;
}

HelpPageDescription RotationPeriod() {
    HelpPageDescription page = Page(136, "Hilfe: Fruchtfolgefaktor - Zwischenperiode", "");
    page.section = HelpSection::Period;
    page.closeButton = false;
    auto& e = page.elements;
    constexpr int px = 11;
    Add(e, {T(8, 0, 673,
              "Die Periode zwischen Ernte der Vorkultur und Einsaat der Folgekultur wird als "
              "Zwischenperiode bezeichnet. Sie kann ganz fehlen (bei mehrjährigen Kulturen), "
              "nur von kurzer Dauer sein (Einsaat der Folgekultur innert weniger Tage) oder "
              "sich gar über mehrere Wochen oder den ganzen Winter erstrecken.",
              px),
            T(8, Below(6), 673, "Das Programm unterscheidet folgende 7 Bodenbedeckungstypen:", px),
            Sized(T(8, Below(0), 673, "", px), 4)});
    const char* rows[8][2] = {
        {"Keine Zwischenperiode:",
         "Nächste Kultur folgt innert weniger Tage auf die abgeerntete Vorkultur. (Wird "
         "zwischen den Hauptnutzungsjahren einer mehrjährigen Hauptkultur durch das Programm "
         "automatisch gesetzt.)"},
        {"Schwarzbrache im Herbst und Winter:",
         "Ein abgeernteter Schlag wird ohne Einsaat eines Zwischenfutters bzw. einer "
         "Gründüngung bis spätestens Mitte Dezember mit dem Pflug umgebrochen oder mit dem "
         "Grubber gelockert. (Bei spätem Pflug- oder Grubbereinsatz nimmt das Programm "
         "automatisch eine vorangehende Stoppelperiode an.) "},
        {"Stoppelbrache im Winter:",
         "Die Stoppeln der abgeernteten Vorkultur verbleiben über Winter auf dem Feld; eine "
         "Bodenbearbeitung erfolgt erst im Frühjahr. (Das Programm unterscheidet automatisch "
         "zwischen Stoppelbrache nach Halmfrüchten oder Blattfrüchten.)"},
        {"Stoppelbrache vor Winterkultur:",
         "Wie oben. Allerdings endet die Stoppelbrache bereits im Herbst mit der Einsaat einer "
         "Winterkultur. (Das Programm unterscheidet automatisch zwischen Stoppelbrache nach "
         "Halmfrüchten oder Blattfrüchten.)"},
        {"Zwischenfutter/Gründüngung vor Schwarzbrache:",
         "Einsaat eines Herbstzwischenfutters bzw. einer Gründüngung, welche nach der "
         "Ertragsbildung im Spätherbst umgebrochen und durch eine bis im Frühjahr verbleibende "
         "Schwarzbrache abgelöst wird."},
        {"Zwischenfutter/Gründüngung vor Winterkultur:",
         "Wie oben. An die Stelle der Schwarzbrache tritt aber eine Winterkultur."},
        {"Zwischenfutter/Gründüngung im Winter, abfrierend:",
         "Einsaat einer abfrierenden Zwischenfrucht, welche mindestens bis zur Einsaat der "
         "Folgekultur eine ausreichende Bodenbedeckung gewährleistet."},
        {"Zwischenfutter/Gründüngung im Winter, überwinternd:",
         "Wie oben. Allerdings friert die Zwischenfrucht nicht ab und liefert zur Einsaat der "
         "Folgekultur bereits eine optimale Bodenbedeckung."}};
    for (const auto& row : rows) {
        Definition(e, 8, 161, 167, 514, row[0], row[1], px);
    }
    Add(e, {T(8, Below(8), 49, "Wichtiger Hinweis:", px),
            T(64, kSameRow, 617,
              "Bei den mehrjährigen Ackerkulturen Kunstwiese, Rotations-/Buntbrache und "
              "Chinaschilf entfällt die Zwischenperiode zwischen den Nutzungsjahren. Sofern "
              "nicht eine Neueinsaat/-pflanzung vorgenommen wird, setzt das Programm deshalb "
              "automatisch \"Keine Zwischenperiode\".",
              px)});
    return page;
}

// ---- Rill erosion, soil loss, soil depth, fertility risk ---------------------------------

HelpPageDescription Rills1() {
    HelpPageDescription page = Chained(Page(111, "Hilfe: Linienhafte Erosion (Rinnenerosion) (1)",
                                            "Linienhafte Erosion (Rinnenerosion)"),
                                       0, 112);
    Add(page.elements,
        {T(40, 64, 609,
           "Zusätzlich zur Flächenerosion wird Boden auch durch gebündelten Abfluss abgetragen. "
           "Es bilden sich Rinnen. Dieser Bodenverlust muss für die Beurteilung der "
           "Gesamtgefährdung durch Bodenerosion zusätzlich berücksichtigt werden."),
         T(40, Below(12), 609,
           "Die Bodenerosion in Rinnen ist gut sichtbar. Die Abschätzung des Anteils der "
           "Rinnenerosion geschieht deshalb am besten durch eine Bewertung der eigenen "
           "Beobachtungen."),
         T(40, Below(12), 609,
           "In einem ersten Schritt müssen Sie die Frage beantworten können, ob sich auf der "
           "Parzelle gelegentlich oder regelmässig Erosionsrinnen bilden. Diese Frage muss mit "
           "ja oder nein beantwortet werden. Wenn Sie auf der Parzelle nie Erosionsrinnen "
           "beobachten können, so ist der Bodenabtrag durch lineare Erosion nicht von "
           "Bedeutung."),
         T(40, Below(12), 609,
           "Falls die Frage mit ja beantwortet wird, so müssen Sie Auskunft geben über die "
           "Häufigkeit sowie die Ausprägung dieser Rinnen.")});
    return page;
}

HelpPageDescription Rills2() {
    HelpPageDescription page = Chained(
        Page(112, "Hilfe: Linienhafte Erosion (Rinnenerosion) (2)", "Wichtige Hinweise"), 111, 0);
    Add(page.elements,
        {T(40, 64, 609,
           "Die feinen Rillen, die durch die Bodenbearbeitung und Fahrspuren entstehen, nicht "
           "berücksichtigen !"),
         T(40, Below(12), 609,
           "Bilden sich auf einer Parzelle jeweils eine einzelne grössere Rinne und zusätzlich "
           "mehrere kleinere Rinnen, ist bei der Einschätzung wie folgt zu verfahren:")});
    Item(page.elements, 40, 64, 649, 8, "1.",
         "Zuschlag für linienhafte Erosion (EL) für die grössere Einzelrinne bestimmen");
    Item(page.elements, 40, 64, 649, 4, "2.",
         "Zusätzlich Zuschlag EL für das Bündel der kleineren Rinnen bestimmen");
    Item(page.elements, 40, 64, 649, 4, "3.", "Beide Zuschläge addieren");
    return page;
}

// A fraction formula: the quantity at the left, "=", the numerator over a line over the
// denominator.
void Fraction(Elements& e, int y, const char* quantity, const char* numerator,
              const char* denominator) {
    Add(e, {Centred(T(128, y, 200, quantity)), T(344, y + 8, 16, "="),
            Centred(T(376, y, 169, numerator)), Rule(376, y + 19, 169),
            Centred(T(376, y + 22, 169, denominator))});
}

HelpPageDescription SoilLoss() {
    HelpPageDescription page = Page(104, "Hilfe: Gesamtgefährdung durch Bodenerosion",
                                    "Gesamtgefährdung durch Bodenerosion");
    auto& e = page.elements;
    Add(e, {Panel(32, 72, 617, 249), Bold(T(48, 88, 72, "Hinweis:")),
            T(128, 88, 505,
              "Die Gesamtgefährdung durch Bodenerosion ist eine Bodenverlustgrösse. Wer mehr "
              "wissen möchte, kann diese Kennzahl nach folgender Formel in einen ungefähren "
              "durchschnittlichen Verlust an Bodenmächtigkeit pro Jahr umrechnen:")});
    Fraction(e, 176, "Durchnittlicher jährlicher Bodenverlust in mm", "Gesamtgefährdung EFL",
             "120");
    Add(e, {T(128, 240, 505,
              "Die Zahl 120 resultiert aus der Lagerungsdichte der Ackerkrume, die meist Werte "
              "zwischen 1 und 1.5 g/cm3 erreicht."),
            Panel(32, 320, 617, 113), Bold(T(48, 344, 72, "Alternativ:"))});
    Fraction(e, 360, "Durchnittlicher jährlicher Bodenverlust in t/ha", "Gesamtgefährdung EFL",
             "10");
    return page;
}

HelpPageDescription SoilDepth() {
    HelpPageDescription page =
        Chained(Page(102, "Hilfe: Gründigkeit des Bodens (1)", "Gründigkeit des Bodens"), 0, 120);
    auto& e = page.elements;
    Add(e, {T(40, 56, 609,
              "In diesem Schritt müssen Sie die Gründigkeit (in cm) des Bodens angeben. Die "
              "Gründigkeit ist die den Wurzeln verfügbare Mächtigkeit des Bodens. Sie umfasst "
              "im Prinzip die gesamte Bodenmächtigkeit (Untergrenze des Bodens sind bspw. das "
              "Ausgangsgestein oder der Grundwasserspiegel). Der Steingehalt muss von dieser "
              "Mächtigkeit abgezogen werden. Bodenkarten geben Auskunft über die Gründigkeit "
              "des Bodens."),
            T(40, Below(10), 609,
              "Wenn die Gründigkeit des Bodens nicht bekannt ist und auch nicht bestimmt werden "
              "kann, so können folgende regionale Standardwerte für die Bodengründigkeit "
              "übernommen werden:")});
    HelpElement grid = Sized(T(40, 216, 593, ""), 65);
    grid.kind = Kind::DepthGrid;
    e.push_back(grid);
    e.push_back(Bold(T(40, 292, 609, "Klassen zur Gründigkeit")));
    const char* classes[5][2] = {{"flachgründig", "unter 30 cm Mächtigkeit"},
                                 {"ziemlich flachgründig", "30 - 50 cm Mächtigkeit"},
                                 {"mässig tiefgründig", "51 - 70 cm Mächtigkeit"},
                                 {"tiefgründig", "71 - 100 cm Mächtigkeit"},
                                 {"sehr tiefgründig", "über 100 cm Mächtigkeit"}};
    for (const auto& row : classes) {
        Item(e, 40, 232, 649, 2, row[0], row[1]);
    }
    return page;
}

HelpPageDescription SoilProfile(int number) {
    static const char* const kFlat =
        "Solche Böden sind im allgemeinen unsichere Ackerstandorte. Sie eignen sich nicht für "
        "einen intensiven Ackerbau. Innerhalb einer Parzelle kommen sie häufig nur kleinflächig "
        "vor, wodurch eine angepasste Bewirtschaftung schwierig ist. Flachgründige Böden "
        "finden sich vor allem in Schotter- und Schwemmlandebenen, auf Moränekuppen und auf  "
        "tonigem Muttermaterial.";
    static const char* const kMedium =
        "Je nach Einschränkung eignen sich viele mittelgründige Böden bereits für einen "
        "intensiven Ackerbau. Sie sind aber meistens anfälliger auf Düngungs- und "
        "Bewirtschaftungsfehler als tiefgründige Böden. Liegt kein Grundwassereinfluss vor, "
        "dann braucht es regelmässige Niederschläge für sichere Erträge. Böden mittlerer "
        "Gründigkeit finden sich vor allem in Schotter- und Schwemmlandebenen, auf flachen "
        "Moränekuppen und auf tonigem Muttermaterial.";
    static const char* const kDeep =
        "Diese Böden sind dank ihrem grossen Speichervermögen für Wasser und Nährstoffe gut "
        "geeignet für einen intensiven Ackerbau. Die Gefahr für Nitratauswaschung ist auf "
        "tiefgründigen Böden am geringsten. Sie kommen hauptsächlich in Moränegebieten vor "
        "und überall dort, wo Feinerdematerial durch Wind (Löss) oder Wasser abgelagert wurde.";
    struct Profile {
        const char* group;
        const char* description;
        const char* type;
        const char* depth;
    };
    static const Profile kProfiles[9] = {
        {"Flachgründige Böden", kFlat, "Regosol",
         "flachgründig: wegen geringer Verwitterungstiefe, hohem Stein- und Sandanteil"},
        {"Flachgründige Böden", kFlat, "Pseudogley",
         "ziemlich flachgründig: wegen dichtem Gefüge, Staunässe"},
        {"Flachgründige Böden", kFlat, "Fahlgley anmoorig",
         "flachgründig: wegen dichtem Gefüge, Grundnässe"},
        {"Mittelgründige Böden", kMedium, "Kalkbraunerde",
         "mässig tiefgründig: wegen hohem Steinanteil"},
        {"Mittelgründige Böden", kMedium, "Parabraunerde",
         "mässig tiefgründig: wegen unregelmässiger Verwitterungstiefe, erhöhtem Steinanteil"},
        {"Mittelgründige Böden", kMedium, "Buntgley",
         "mässig tiefgründig: wegen dichtem Gefüge, zeitweiliger Vernässung"},
        {"Tiefgründige Böden", kDeep, "Braunerde", "tiefgründig"},
        {"Tiefgründige Böden", kDeep, "Braunerde", "sehr tiefgründig"},
        {"Tiefgründige Böden", kDeep, "Kalkbraunerde", "sehr tiefgründig"}};
    const int index = number - 120;
    const Profile& profile = kProfiles[index];
    const QByteArray windowTitle =
        QStringLiteral("Hilfe: Gründigkeit des Bodens (%1)").arg(index + 2).toUtf8();
    HelpPageDescription page =
        Chained(Page(number, windowTitle.constData(), "Gründigkeit des Bodens"),
                number == 120 ? 102 : number - 1, number == 128 ? 0 : number + 1);
    HelpElement photo = Picture("", 448, 72, 217, 369);
    photo.text = QStringLiteral("profile_%1").arg(index + 1);
    Add(page.elements,
        {Bold(T(24, 64, 409, profile.group, 19)), T(24, Below(4), 409, profile.description),
         Bold(T(24, Below(16), 409, "Bodentyp:", 19)), T(24, Below(4), 409, profile.type),
         Bold(T(24, Below(16), 409, "Gründigkeit", 19)), T(24, Below(4), 409, profile.depth),
         photo});
    return page;
}

HelpPageDescription FertilityRisk1() {
    HelpPageDescription page =
        Chained(Page(105, "Hilfe: Gefährdungsstufe der Bodenfruchtbarkeit",
                     "Ableitung der Gefährdungsstufe GBF der Bodenfruchtbarkeit"),
                0, 113);
    page.titleLines = 1; // the chart starts right below it
    page.elements.push_back(Picture("risk_chart", 16, 64, 657, 377));
    return page;
}

HelpPageDescription FertilityRisk2() {
    HelpPageDescription page = Chained(Page(113, "Hilfe: Gefährdungsstufe der Bodenfruchtbarkeit",
                                            "Gefährdungsstufe der Bodenfruchtbarkeit"),
                                       105, 0);
    Add(page.elements,
        {T(40, 64, 609,
           "Die Gefährdung der Bodenfruchtbarkeit durch Bodenerosion ergibt sich aus der Stärke "
           "der Bodenerosion und der Bodengründigkeit: die Gefährdung ist umso grösser, je "
           "flachgründiger der Boden und stärker die Erosion ist."),
         T(40, Below(12), 609,
           "Die Gefährdung der Bodenfruchtbarkeit ist um so höher, je rascher bei bestimmten "
           "Erosionsbeträgen die für den Ackerbau und die Erfüllung ökologischer "
           "Bodenfunktionen mindestens notwendige Bodenmächtigkeit von 50 cm unterschritten "
           "wird."),
         Bold(T(40, Below(20), 609, "Wichtiger Hinweis:")),
         T(40, Below(4), 609,
           "Bodenerosion schädigt nicht nur den Boden. Mit der Feinerde abgetragene Nährstoffe "
           "und Pflanzenbehandlungsmittel belasten die Gewässer und beeinträchtigen "
           "benachbarte Schutzgebiete. Eine Verschlämmung von Strassen, Wegen, Kanälen und "
           "anderen Einrichtungen verursacht zudem höhere Reinigungs- und Unterhaltskosten.")});
    return page;
}

// ---- Measures ------------------------------------------------------------------------------

HelpPageDescription Measures() {
    HelpPageDescription page =
        Page(137, "Hilfe: Massnahmen", "Massnahmen zur Verminderung der Bodenerosion");
    auto& e = page.elements;
    Add(e, {T(40, 64, 609,
              "Das Programm rechnet für die Parzelle durch, welche Änderungen der "
              "Bewirtschaftung die Erosionsgefährdung senken. Jede Massnahme ist eine Eingabe, "
              "die auch in Schritt 1 oder 2 gemacht werden könnte; ihr Ergebnis ist genau das, "
              "was die Schritte 1 bis 7 mit dieser Eingabe ergeben."),
            Bold(T(40, Below(6), 609, "Geprüft werden:"))});
    Item(e, 40, 56, 649, 4, "-", "Bewirtschaftung quer zum Hang statt in der Fallinie;");
    Item(e, 40, 56, 649, 2, "-",
         "eine weniger intensive Bodenbearbeitung der Hauptkulturen (Mulchsaat, Direktsaat);");
    Item(e, 40, 56, 649, 2, "-",
         "Zwischenfutter oder Gründüngung statt Schwarz- oder Stoppelbrache, mit dem Beginn und "
         "der Bodenbearbeitung, die den kleinsten Fruchtfolgefaktor ergeben: nur eine Art, die "
         "zur folgenden Hauptkultur passt (vor einer Winterkultur oder über den Winter), und "
         "nie früher als der erfasste Beginn der Zwischenperiode;");
    Item(e, 40, 56, 649, 2, "-", "eine weniger intensive Bodenbearbeitung in der Zwischenperiode;");
    Item(e, 40, 56, 649, 2, "-",
         "eine kürzere Fliessstrecke, z. B. durch Grünstreifen quer zum Hang, mit Streifen von "
         "mindestens 30 m.");
    Add(e, {T(40, Below(6), 609,
              "Die Kulturen, der Standort, die Rinnen und die Gründigkeit bleiben, wie sie "
              "erfasst sind. Aufgeführt werden nur Massnahmen, die EFL senken. Für jede "
              "erreichbare tiefere Gefährdungsstufe zeigt die Tabelle die Kombination mit den "
              "wenigsten Massnahmen; \"Alle Massnahmen zusammen\" zeigt, wie weit die "
              "Bewirtschaftung die Gefährdung höchstens senken kann."),
            T(40, Below(6), 609,
              "\"Übernehmen\" macht die gewählte Zeile zur aktuellen Berechnung (ungespeicherte "
              "Eingaben erst nach Rückfrage), \"Rückgängig\" (Ctrl+Z) stellt die Berechnung "
              "davor wieder her. \"Drucken\" zeigt den Massnahmenvergleich, "
              "\"Massnahmenblatt\" eine Seite für den Betrieb mit dem gewählten Plan."),
            Bold(T(40, Below(6), 609,
                   "Die Ergebnisse sind berechnete Beispiele. Ob eine Massnahme im Betrieb "
                   "umsetzbar ist, beurteilt die Beratung."))});
    return page;
}

// ---- Imprint -------------------------------------------------------------------------------

HelpPageDescription Imprint(int number, const char* windowTitle, int back, int next,
                            const char* nextCaption) {
    HelpPageDescription page = Chained(
        Page(number, windowTitle, "Brisolt V2.02 - Ackerbaugebiete des zentralen Mittellandes"),
        back, next);
    page.titlePixelSize = 21;
    page.nextCaption = QString::fromUtf8(nextCaption);
    return page;
}

HelpPageDescription Imprint1() {
    HelpPageDescription page = Imprint(114, "Impressum Brisolt V2.02 (1)", 0, 115, "Quellen");
    auto& e = page.elements;
    Add(e, {Picture("emblems", 24, 40, 641, 193), Bold(T(24, 240, 641, "Das Programm")),
            T(24, Below(2), 641,
              "Brisolt V2.02 beurteilt in sieben Schritten die Gefährdung einer Ackerfläche "
              "durch Bodenerosion und die daraus folgende Gefährdung der Bodenfruchtbarkeit."),
            Bold(T(24, Below(8), 641, "Was es berechnet"))});
    const char* results[5][2] = {
        {"ST", "Standorteinflüsse aus Region, Gefälle, Fliessstrecke, Steinen und Bodenart"},
        {"C", "Fruchtfolgefaktor aus Hauptkulturen, Zwischenperioden und Bodenbearbeitung"},
        {"EL", "Zuschlag für linienhafte Erosion (Rinnenerosion)"},
        {"EFL", "Gesamtgefährdung durch Bodenerosion und ungefährer Bodenverlust"},
        {"GBF", "Gefährdungsstufe der Bodenfruchtbarkeit aus Gesamtgefährdung und Gründigkeit"}};
    for (const auto& row : results) {
        Item(e, 24, 88, 665, 0, row[0], row[1]);
    }
    Add(e, {Bold(T(24, Below(8), 72, "Lizenz:")),
            T(96, kSameRow, 569,
              "Nutzung und Weitergabe nach den Lizenzbestimmungen, die dem Programm "
              "beiliegen.")});
    return page;
}

HelpPageDescription Imprint2() {
    HelpPageDescription page = Imprint(115, "Impressum Brisolt V2.02 (2)", 114, 129, "Auskünfte");
    Add(page.elements,
        {Bold(T(24, 48, 305, "Grundlagen der Methode")),
         T(24, Below(4), 305,
           "Das Programm setzt ein bestehendes, veröffentlichtes Verfahren um. Es beruht auf:"),
         Bold(T(24, Below(12), 305, "dem gedruckten Schlüssel")),
         T(24, Below(2), 305,
           "zur Beurteilung der Erosionsgefährdung von Ackerflächen, dessen Tabellen und "
           "Schritte das Programm übernimmt;"),
         Bold(T(24, Below(12), 305, "der früheren Veröffentlichung der Methode")),
         T(24, Below(2), 305,
           "mit den Grundlagen zu Standorteinflüssen, Rinnenerosion und Gründigkeit;"),
         Bold(T(24, Below(12), 305, "dem Modell des Fruchtfolgefaktors von 2005")),
         T(24, Below(2), 305,
           "nach dem Schritt 2 Hauptkulturen, Zwischenperioden und Bodenbearbeitung bewertet."),
         Picture("imprint_drawing", 344, 48, 321, 313)});
    return page;
}

HelpPageDescription Imprint3() {
    HelpPageDescription page = Imprint(129, "Impressum Brisolt V2.02 (3)", 115, 0, "");
    auto& e = page.elements;
    e.push_back(Centred(Bold(
        T(24, 48, 641,
          "Auskünfte zur Anwendung des Schlüssels erteilen die kantonalen landwirtschaftlichen "
          "Beratungsdienste."))));
    const char* groups[4] = {"Regionen A und B", "Regionen C und D", "Regionen E und F",
                             "Regionen G und H"};
    for (const char* group : groups) {
        const QByteArray text =
            QStringLiteral("Die landwirtschaftliche Beratung des Kantons, in dem der Betrieb "
                           "liegt, für Ackerflächen in den %1.")
                .arg(QString::fromUtf8(group))
                .toUtf8();
        Add(e, {Bold(T(24, Below(16), 641, group)), T(24, Below(2), 641, text.constData())});
    }
    e.push_back(T(24, Below(24), 641,
                  "Über vorhandene Bodenkarten geben die kantonalen Fachstellen für "
                  "Bodenschutz Auskunft."));
    return page;
}

std::map<int, HelpPageDescription> Build() {
    std::map<int, HelpPageDescription> pages;
    auto add = [&pages](HelpPageDescription page) { pages.emplace(page.number, std::move(page)); };
    add(RegionMap());
    add(Gradient1());
    add(Gradient2());
    add(Flow1());
    add(FlowLocation(117, "Hilfe: Fliessstrecke des Wassers (2)", 106, 118, "flow_ridge",
                     "Ganz oder überwiegend in Rückenlage"));
    add(FlowLocation(118, "Hilfe: Fliessstrecke des Wassers (3)", 117, 119, "flow_slope",
                     "In einem Hang"));
    add(FlowLocation(119, "Hilfe: Fliessstrecke des Wassers (4)", 118, 0, "flow_hollow",
                     "In einem Hang mit Mulde oder in einer Mulde"));
    add(Stones1());
    add(Stones2());
    add(Feel1());
    add(Feel2());
    add(RotationEntry());
    add(RotationProcedure());
    add(RotationMainCrops());
    add(RotationTillage());
    add(RotationPeriod());
    add(Rills1());
    add(Rills2());
    add(SoilLoss());
    add(SoilDepth());
    for (int number = 120; number <= 128; ++number) {
        add(SoilProfile(number));
    }
    add(FertilityRisk1());
    add(FertilityRisk2());
    add(Measures());
    add(Imprint1());
    add(Imprint2());
    add(Imprint3());
    return pages;
}

} // namespace

const std::map<int, HelpPageDescription>& HelpCatalogue() {
    static const std::map<int, HelpPageDescription> catalogue = Build();
    return catalogue;
}

int SectionPage(HelpSection section) {
    switch (section) {
    case HelpSection::Entry:
        return 110;
    case HelpSection::Procedure:
        return 133;
    case HelpSection::MainCrops:
        return 134;
    case HelpSection::Period:
        return 136;
    case HelpSection::Tillage:
        return 135;
    case HelpSection::None:
        break;
    }
    return 0;
}

} // namespace brisolt::gui
