#include "gui/site/terrain_dialog.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>

#include "gui/files/file_dialogs.h"
#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "key/core/number_text.h"
#include "key/core/texts_terrain.h"
#include "key/files/file_system.h"

namespace brisolt::gui {

namespace tt = texts::terrain;

namespace {

// The open dialog for a raster or a parcel layer, in `folder` (or, when it is empty, where the
// program's dialogs were last).
FileDialogRequest ChooserRequest(std::string_view caption, const QString& folder,
                                 std::string_view filter) {
    FileDialogRequest request;
    request.caption = Q(caption);
    request.proposedName = folder;
    if (!filter.empty()) {
        request.nameFilters = QStringList{Q(filter), Q(tt::kAllFiles)};
    }
    return request;
}

// Remembered across runs: the files chosen last.
constexpr const char* kRasterKey = "terrain/raster";
constexpr const char* kParcelsKey = "terrain/parcels";
constexpr const char* kLayerKey = "terrain/layer";

// Side of the square map in pixels.
constexpr int kViewSize = 420;
// Concentrated flow: apart from the parcel's red and the flow path's blue.
const QColor kConcentratedColour(150, 40, 190);
// At most this many messages of a layer are listed; the rest are counted.
constexpr int kLayerMessagesShown = 4;

// Reading a large layer or raster takes a moment.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString Decimal(double value, int decimals) {
    return Q(FormatFixed(static_cast<Real>(value), decimals, DecimalSeparator()));
}

struct Bounds {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool Intersects(const Bounds& o) const {
        return minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY;
    }
};

Bounds BoundsOf(const terrain::Shape& shape) {
    Bounds b{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const terrain::Ring& ring : shape.rings) {
        for (const terrain::Point& p : ring) {
            b.minX = std::min(b.minX, p.x);
            b.minY = std::min(b.minY, p.y);
            b.maxX = std::max(b.maxX, p.x);
            b.maxY = std::max(b.maxY, p.y);
        }
    }
    return b;
}

// A field's smooth slopes shade in a narrow band of greys: spread the band between its 2nd
// and 98th percentile over more of the scale, as map viewers do. White (no data) stays white.
void StretchContrast(std::vector<unsigned char>& grey) {
    std::array<std::size_t, 255> counts{};
    std::size_t total = 0;
    for (unsigned char g : grey) {
        if (g < 255) {
            ++counts[g];
            ++total;
        }
    }
    if (total == 0) {
        return;
    }
    auto percentile = [&](double share) {
        std::size_t seen = 0;
        for (int g = 0; g < 255; ++g) {
            seen += counts[static_cast<std::size_t>(g)];
            if (static_cast<double>(seen) >= share * static_cast<double>(total)) {
                return g;
            }
        }
        return 254;
    };
    const int low = percentile(0.02);
    const int high = percentile(0.98);
    if (high - low < 4) {
        return; // flat: nothing to bring out
    }
    // At most three times steeper: an 8-bit hillshade stretched further shows terraces.
    const double gain = std::min(210.0 / (high - low), 3.0);
    const double middle = (low + high) / 2.0;
    for (unsigned char& g : grey) {
        if (g < 255) {
            const double v = 130 + (std::clamp(static_cast<int>(g), low, high) - middle) * gain;
            g = static_cast<unsigned char>(std::lround(v));
        }
    }
}

} // namespace

// The parcels of the layer: id, area in ha, then every attribute.
class ParcelTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetLayer(const terrain::ParcelLayer* layer) {
        beginResetModel();
        layer_ = layer;
        areas_.clear();
        numericIds_ = true;
        if (layer_ != nullptr) {
            for (const terrain::Parcel& p : layer_->parcels) {
                areas_.push_back(terrain::Area(p.shape) / 10000.0);
                bool number = false;
                QString::fromStdString(p.id).toDouble(&number);
                numericIds_ = numericIds_ && number;
            }
        }
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || layer_ == nullptr ? 0 : static_cast<int>(layer_->parcels.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || layer_ == nullptr
                   ? 0
                   : 2 + static_cast<int>(layer_->fieldNames.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || layer_ == nullptr) {
            return {};
        }
        const terrain::Parcel& p = layer_->parcels[static_cast<std::size_t>(index.row())];
        const std::size_t row = static_cast<std::size_t>(index.row());
        if (role == Qt::TextAlignmentRole) {
            return index.column() == 1 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        }
        if (role != Qt::DisplayRole && role != Qt::UserRole) {
            return {};
        }
        const bool sortKey = role == Qt::UserRole;
        switch (index.column()) {
        case 0:
            return sortKey && numericIds_ ? QVariant(QString::fromStdString(p.id).toDouble())
                                          : QVariant(QString::fromStdString(p.id));
        case 1:
            return sortKey ? QVariant(areas_[row]) : QVariant(Decimal(areas_[row], 2));
        default:
            return QString::fromStdString(Attribute(p, index.column() - 2));
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || layer_ == nullptr) {
            return {};
        }
        if (section == 0) {
            return Q(tt::kColumnId);
        }
        if (section == 1) {
            return Q(tt::kColumnArea);
        }
        return QString::fromStdString(layer_->fieldNames[static_cast<std::size_t>(section - 2)]);
    }

private:
    std::string Attribute(const terrain::Parcel& p, int field) const {
        const std::string& name = layer_->fieldNames[static_cast<std::size_t>(field)];
        const auto f = static_cast<std::size_t>(field);
        if (f < p.attributes.size() && p.attributes[f].first == name) {
            return p.attributes[f].second;
        }
        for (const auto& [key, value] : p.attributes) {
            if (key == name) {
                return value;
            }
        }
        return {};
    }

    const terrain::ParcelLayer* layer_ = nullptr;
    std::vector<double> areas_;
    bool numericIds_ = true;
};

// The chosen parcel on a hillshade of its surroundings: its outline, its neighbours', its
// longest flow path and a scale bar.
class TerrainView : public QWidget {
public:
    explicit TerrainView(QWidget* parent) : QWidget(parent) {
        setObjectName("imgTerrain");
        setFixedSize(kViewSize, kViewSize);
    }

    void Clear(const QString& hint) {
        shade_ = QImage();
        hint_ = hint;
        update();
    }

    // `inside`: the parcel's own lines of concentrated flow; `around`: those of the
    // surroundings, of which only the part outside the parcel is drawn.
    void Show(QImage shade, const Bounds& extent, const terrain::Shape& parcel,
              std::vector<const terrain::Shape*> neighbours,
              const std::vector<terrain::Point>& path,
              const std::vector<std::vector<terrain::Point>>& inside,
              const std::vector<std::vector<terrain::Point>>& around) {
        shade_ = std::move(shade);
        extent_ = extent;
        parcel_ = Path(parcel);
        neighbours_ = QPainterPath();
        for (const terrain::Shape* n : neighbours) {
            neighbours_.addPath(Path(*n));
        }
        flowPath_.clear();
        for (const terrain::Point& p : path) {
            flowPath_ << Map(p);
        }
        concentratedInside_ = Lines(inside);
        concentratedAround_ = Lines(around);
        update();
    }

    const QImage& Shade() const { return shade_; }
    const QPainterPath& ConcentratedInside() const { return concentratedInside_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(235, 235, 235));
        if (shade_.isNull()) {
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(rect().adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap,
                             hint_);
            return;
        }
        painter.drawImage(rect(), shade_);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(80, 80, 80, 160), 1));
        painter.drawPath(neighbours_);
        // Where water gathers, under the parcel's outline and its flow path: around the parcel
        // as the surroundings gather it, inside as the parcel alone does.
        const QPen concentrated(kConcentratedColour, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(concentrated);
        painter.save();
        QPainterPath outside;
        outside.addRect(rect());
        painter.setClipPath(outside.subtracted(parcel_));
        painter.drawPath(concentratedAround_);
        painter.restore();
        painter.drawPath(concentratedInside_);
        painter.setPen(QPen(QColor(200, 20, 20), 2));
        painter.setBrush(QColor(220, 40, 40, 25));
        painter.drawPath(parcel_);
        if (flowPath_.size() >= 2) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(
                QPen(QColor(20, 70, 220), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(flowPath_);
            painter.setBrush(QColor(20, 70, 220));
            painter.drawEllipse(flowPath_.front(), 4, 4);
            DrawArrowHead(painter, flowPath_[flowPath_.size() - 2], flowPath_.back());
        }
        DrawScaleBar(painter);
    }

private:
    QPainterPath Lines(const std::vector<std::vector<terrain::Point>>& lines) const {
        QPainterPath path;
        for (const std::vector<terrain::Point>& line : lines) {
            QPolygonF polyline;
            for (const terrain::Point& p : line) {
                polyline << Map(p);
            }
            path.addPolygon(polyline);
        }
        return path;
    }

    QPointF Map(const terrain::Point& p) const {
        const double sx = width() / (extent_.maxX - extent_.minX);
        const double sy = height() / (extent_.maxY - extent_.minY);
        return {(p.x - extent_.minX) * sx, (extent_.maxY - p.y) * sy};
    }

    QPainterPath Path(const terrain::Shape& shape) const {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        for (const terrain::Ring& ring : shape.rings) {
            QPolygonF polygon;
            for (const terrain::Point& p : ring) {
                polygon << Map(p);
            }
            path.addPolygon(polygon);
            path.closeSubpath();
        }
        return path;
    }

    static void DrawArrowHead(QPainter& painter, QPointF from, QPointF to) {
        const QPointF d = to - from;
        const double length = std::hypot(d.x(), d.y());
        if (length <= 0) {
            return;
        }
        const QPointF u = d / length;
        const QPointF n(-u.y(), u.x());
        const QPolygonF head{to + u * 4, to - u * 10 + n * 6, to - u * 10 - n * 6};
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(head);
    }

    void DrawScaleBar(QPainter& painter) const {
        const double metresPerPixel = (extent_.maxX - extent_.minX) / width();
        // The longest round length that fits in a quarter of the map.
        const double target = metresPerPixel * width() / 4;
        double length = 1;
        for (double step : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0,
                            5000.0, 10000.0}) {
            if (step <= target) {
                length = step;
            }
        }
        const int pixels = static_cast<int>(std::lround(length / metresPerPixel));
        const QString label = QString::number(length, 'f', 0) + " m";
        const QFontMetrics metrics(font());
        const QRect box(8, height() - 34, std::max(pixels, metrics.horizontalAdvance(label)) + 12,
                        26);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 210));
        painter.drawRect(box);
        painter.setPen(QPen(Qt::black, 2));
        const int y = box.bottom() - 6;
        painter.drawLine(box.left() + 6, y, box.left() + 6 + pixels, y);
        painter.drawLine(box.left() + 6, y - 4, box.left() + 6, y);
        painter.drawLine(box.left() + 6 + pixels, y - 4, box.left() + 6 + pixels, y);
        painter.drawText(QRect(box.left() + 6, box.top() + 1, box.width() - 12, 14),
                         Qt::AlignLeft | Qt::AlignVCenter, label);
    }

    QImage shade_;
    QString hint_;
    Bounds extent_;
    QPainterPath parcel_;
    QPainterPath neighbours_;
    QPolygonF flowPath_;
    QPainterPath concentratedInside_;
    QPainterPath concentratedAround_;
};

TfrmTerrain::TfrmTerrain(QWidget* parent) : TerrainWindow(parent) {
    static std::once_flag gdal;
    std::call_once(gdal, [] { terrain::InitialiseGdal(BundledDataFolder()); });

    setObjectName("frmTerrain");
    setWindowTitle(Q(tt::kWindowTitle));

    // Files: the raster first, the parcels in its coordinate system.
    auto* files = new QGridLayout;
    edtRaster_ = new QLineEdit(this);
    edtRaster_->setObjectName("edtRaster");
    edtRaster_->setReadOnly(true);
    edtRaster_->setPlaceholderText(Q(tt::kNoFile));
    auto* btnRaster = new QPushButton(Q(tt::kChoose), this);
    btnRaster->setObjectName("btnRaster");
    auto* btnRasterFolder = new QPushButton(Q(tt::kChooseFolder), this);
    btnRasterFolder->setObjectName("btnRasterFolder");
    labRasterInfo_ = new QLabel(this);
    labRasterInfo_->setObjectName("labRasterInfo");
    edtParcels_ = new QLineEdit(this);
    edtParcels_->setObjectName("edtParcels");
    edtParcels_->setReadOnly(true);
    edtParcels_->setPlaceholderText(Q(tt::kNoFile));
    btnParcels_ = new QPushButton(Q(tt::kChoose), this);
    btnParcels_->setObjectName("btnParcels");
    btnParcels_->setEnabled(false);
    cmbLayer_ = new QComboBox(this);
    cmbLayer_->setObjectName("cmbLayer");
    cmbLayer_->setEnabled(false);
    cmbLayer_->setMinimumWidth(200);
    labParcelCount_ = new QLabel(this);
    labParcelCount_->setObjectName("labParcelCount");
    auto* layerRow = new QHBoxLayout;
    layerRow->addWidget(cmbLayer_);
    layerRow->addWidget(labParcelCount_, 1);
    files->addWidget(new QLabel(Q(tt::kRaster), this), 0, 0);
    files->addWidget(edtRaster_, 0, 1);
    auto* rasterButtons = new QHBoxLayout;
    rasterButtons->addWidget(btnRaster);
    rasterButtons->addWidget(btnRasterFolder);
    files->addLayout(rasterButtons, 0, 2);
    files->addWidget(labRasterInfo_, 1, 1);
    files->addWidget(new QLabel(Q(tt::kParcels), this), 2, 0);
    files->addWidget(edtParcels_, 2, 1);
    files->addWidget(btnParcels_, 2, 2);
    files->addWidget(new QLabel(Q(tt::kLayer), this), 3, 0);
    files->addLayout(layerRow, 3, 1);
    files->setColumnStretch(1, 1);

    // The parcel list, searchable across all columns.
    edtSearch_ = new QLineEdit(this);
    edtSearch_->setObjectName("edtSearch");
    edtSearch_->setPlaceholderText(Q(tt::kSearchHint));
    edtSearch_->setClearButtonEnabled(true);
    edtSearch_->installEventFilter(this);
    parcelModel_ = new ParcelTableModel(this);
    parcelFilter_ = new QSortFilterProxyModel(this);
    parcelFilter_->setSourceModel(parcelModel_);
    parcelFilter_->setSortRole(Qt::UserRole);
    parcelFilter_->setFilterKeyColumn(-1);
    parcelFilter_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    tblParcels_ = new QTableView(this);
    tblParcels_->setObjectName("tblParcels");
    tblParcels_->setModel(parcelFilter_);
    tblParcels_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblParcels_->setSelectionMode(QAbstractItemView::SingleSelection);
    tblParcels_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblParcels_->setSortingEnabled(true);
    tblParcels_->sortByColumn(-1, Qt::AscendingOrder); // the layer's own order until a click
    tblParcels_->verticalHeader()->hide();
    tblParcels_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tblParcels_->horizontalHeader()->setStretchLastSection(true);
    tblParcels_->setMinimumWidth(340);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(Q(tt::kSearch), this));
    searchRow->addWidget(edtSearch_, 1);
    auto* list = new QVBoxLayout;
    list->addLayout(searchRow);
    list->addWidget(tblParcels_, 1);

    // The map with its legend.
    view_ = new TerrainView(this);
    view_->Clear(Q(tt::kNeedRaster));
    auto* legend = new QLabel(Q(tt::kLegend), this);
    legend->setObjectName("labLegend");
    auto* legendConcentrated = new QLabel(Q(tt::kLegendConcentrated), this);
    legendConcentrated->setObjectName("labLegendConcentrated");
    auto* map = new QVBoxLayout;
    map->addWidget(view_);
    map->addWidget(legend);
    map->addWidget(legendConcentrated);
    map->addStretch(1);

    // The figures and what went wrong.
    auto* figures = new QFormLayout;
    auto figure = [&](std::string_view caption, const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures->addRow(Q(caption), label);
        return label;
    };
    labGradientMean_ = figure(tt::kGradientMean, "labGradientMean");
    labGradientPercentiles_ = figure(tt::kGradientPercentiles, "labGradientPercentiles");
    labFlowLength_ = figure(tt::kFlowLength, "labFlowLength");
    labFlowLengthSpread_ = figure(tt::kFlowLengthSpread, "labFlowLengthSpread");
    labCellsUsed_ = figure(tt::kCellsUsed, "labCellsUsed");
    labCovered_ = figure(tt::kCovered, "labCovered");
    labForStep1_ = figure(tt::kForStep1, "labForStep1");
    labForStep1_->setWordWrap(true);
    QFont bold = labForStep1_->font();
    bold.setBold(true);
    labForStep1_->setFont(bold);
    labConcentratedFlow_ = new QLabel(this);
    labConcentratedFlow_->setObjectName("labConcentratedFlow");
    labConcentratedFlow_->setWordWrap(true);
    labConcentratedFlow_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    labMessages_ = new QLabel(this);
    labMessages_->setObjectName("labMessages");
    labMessages_->setWordWrap(true);
    labMessages_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    labMessages_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* results = new QVBoxLayout;
    results->addLayout(figures);
    results->addSpacing(8);
    results->addWidget(labConcentratedFlow_);
    results->addSpacing(8);
    results->addWidget(labMessages_, 1);

    auto* resultsColumn = new QWidget(this);
    resultsColumn->setLayout(results);
    results->setContentsMargins(0, 0, 0, 0);
    resultsColumn->setFixedWidth(300);
    auto* middle = new QHBoxLayout;
    middle->addLayout(list, 1);
    middle->addLayout(map);
    middle->addWidget(resultsColumn);

    btnApply_ = new QPushButton(Q(tt::kApply), this);
    btnApply_->setObjectName("btnApply");
    btnApply_->setEnabled(false);
    auto* btnCancel = new QPushButton(Q(tt::kCancel), this);
    btnCancel->setObjectName("btnCancel");
    btnRasterFolder->setAutoDefault(false);
    for (QPushButton* b : {btnRaster, btnParcels_, btnApply_, btnCancel}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(105);
    }
    btnApply_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnApply_);
    buttons->addWidget(btnCancel);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(files);
    outer->addLayout(middle, 1);
    outer->addLayout(buttons);

    connect(btnRaster, &QPushButton::clicked, this, &TfrmTerrain::btnRasterClick);
    connect(btnRasterFolder, &QPushButton::clicked, this, &TfrmTerrain::btnRasterFolderClick);
    connect(btnParcels_, &QPushButton::clicked, this, &TfrmTerrain::btnParcelsClick);
    connect(cmbLayer_, &QComboBox::activated, this, &TfrmTerrain::cmbLayerChange);
    connect(edtSearch_, &QLineEdit::textChanged, this, &TfrmTerrain::edtSearchChange);
    connect(tblParcels_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TfrmTerrain::ParcelChosen);
    connect(btnApply_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    ShowFigures();
    ShowMessages();
    tblParcels_->setFocus();
}

TfrmTerrain::~TfrmTerrain() = default;

void TfrmTerrain::OpenRemembered() {
    const QSettings settings;
    // Only files and folders: a named pipe left in the settings would block GDAL for ever.
    const auto there = [](const QString& path) {
        const QFileInfo info(path);
        return info.isFile() || info.isDir();
    };
    const QStringList raster = settings.value(kRasterKey).toStringList();
    if (raster.isEmpty() || !std::all_of(raster.begin(), raster.end(), there) ||
        !OpenRaster(raster, true)) {
        return;
    }
    const QString parcels = settings.value(kParcelsKey).toString();
    if (!parcels.isEmpty() && there(parcels)) {
        OpenParcels(parcels, settings.value(kLayerKey).toString(), true);
    }
}

// Where the raster's file dialogs start: beside what was chosen last.
QString TfrmTerrain::RasterStart() const {
    const QStringList last = QSettings().value(kRasterKey).toStringList();
    if (last.isEmpty()) {
        return {};
    }
    const QFileInfo first(last.front());
    return last.size() == 1 && first.isDir() ? first.absoluteFilePath() : first.absolutePath();
}

void TfrmTerrain::btnRasterClick() {
    // Several files make one raster of tiles.
    FileDialogRequest request = ChooserRequest(tt::kChooseRaster, RasterStart(), tt::kRasterFilter);
    request.many = true;
    const QStringList paths = AskForFiles(this, request);
    if (!paths.isEmpty()) {
        OpenRaster(paths);
    }
}

void TfrmTerrain::btnRasterFolderClick() {
    FileDialogRequest request = ChooserRequest(tt::kChooseTileFolder, RasterStart(), {});
    request.folder = true;
    const QString folder = AskForFile(this, request);
    if (!folder.isEmpty()) {
        OpenRaster(QStringList{folder});
    }
}

void TfrmTerrain::btnParcelsClick() {
    QString start = edtParcels_->text();
    if (start.isEmpty()) {
        start = QSettings().value(kParcelsKey).toString();
    }
    const QString path = AskForFile(
        this, ChooserRequest(tt::kChooseParcels,
                             start.isEmpty() ? RasterStart() : QFileInfo(start).absolutePath(),
                             tt::kParcelFilter));
    if (!path.isEmpty()) {
        OpenParcels(path);
    }
}

bool TfrmTerrain::OpenRaster(const QStringList& paths, bool quiet) {
    std::unique_ptr<terrain::ElevationModel> model;
    std::string error;
    {
        const WaitCursor wait;
        std::vector<std::string> files;
        for (const QString& path : paths) {
            files.push_back(LocalPath(path));
        }
        model = terrain::ElevationModel::Open(files, error);
    }
    if (!model) {
        if (!quiet) {
            Messages::ShowError(this, Q(error));
        }
        return false;
    }
    model_ = std::move(model);
    model_->setDecimalSeparator(DecimalSeparator()); // messages like the figures beside them
    QStringList shown, remembered;
    for (const QString& path : paths) {
        shown << QDir::toNativeSeparators(path);
        remembered << QFileInfo(path).absoluteFilePath();
    }
    edtRaster_->setText(shown.join("; "));
    edtRaster_->setToolTip(shown.join('\n'));
    const double cell = model_->cellSize();
    const int decimals = cell == std::round(cell) ? 0 : cell * 10 == std::round(cell * 10) ? 1 : 2;
    QString info = Q(
        tt::kRasterInfo(model_->width(), model_->height(), Decimal(cell, decimals).toStdString()));
    if (model_->fileCount() > 1) {
        info += Q(tt::kTiles(model_->fileCount()));
    }
    labRasterInfo_->setText(info);
    QSettings().setValue(kRasterKey, remembered);
    btnParcels_->setEnabled(true);
    // The parcels are read in the raster's coordinate system: a new raster reads them again.
    if (parcelsPath_.isEmpty() || !ReadLayer(parcelsPath_, cmbLayer_->currentText(), quiet)) {
        ClearParcels();
        parcelsPath_.clear();
        edtParcels_->clear();
        view_->Clear(Q(tt::kNeedParcels));
        ShowMessages();
    }
    return true;
}

bool TfrmTerrain::OpenParcels(const QString& path, const QString& layer, bool quiet) {
    if (!model_) {
        if (!quiet) {
            Messages::ShowError(this, Q(tt::kNeedRaster));
        }
        return false;
    }
    std::vector<std::string> names;
    {
        const WaitCursor wait;
        names = terrain::LayerNames(LocalPath(path));
    }
    QString chosen = layer;
    if (chosen.isEmpty() &&
        QFileInfo(path).absoluteFilePath() == QSettings().value(kParcelsKey).toString()) {
        chosen = QSettings().value(kLayerKey).toString();
    }
    if (std::find(names.begin(), names.end(), chosen.toStdString()) == names.end()) {
        chosen = names.empty() ? QString() : QString::fromStdString(names.front());
    }
    if (!ReadLayer(path, chosen, quiet)) {
        return false;
    }
    const QSignalBlocker blocker(cmbLayer_);
    cmbLayer_->clear();
    for (const std::string& name : names) {
        cmbLayer_->addItem(QString::fromStdString(name));
    }
    cmbLayer_->setCurrentIndex(std::max(0, cmbLayer_->findText(chosen)));
    cmbLayer_->setEnabled(names.size() > 1);
    return true;
}

void TfrmTerrain::cmbLayerChange(int) {
    if (!ReadLayer(parcelsPath_, cmbLayer_->currentText(), false) && layer_) {
        const QSignalBlocker blocker(cmbLayer_);
        cmbLayer_->setCurrentIndex(cmbLayer_->findText(QString::fromStdString(layer_->layerName)));
    }
}

bool TfrmTerrain::ReadLayer(const QString& path, const QString& layerName, bool quiet) {
    terrain::ParcelLayerOptions options;
    options.layerName = layerName.toStdString();
    std::string error;
    std::optional<terrain::ParcelLayer> read;
    {
        const WaitCursor wait;
        read = terrain::ReadParcels(LocalPath(path), options, model_->spatialReferenceWkt(), error);
    }
    if (!read) {
        if (!quiet) {
            Messages::ShowError(this, Q(error));
        }
        return false;
    }
    // Keep the chosen parcel when the same layer is read again (another raster).
    const QString keep =
        layer_ && parcel_ >= 0 && path == parcelsPath_
            ? QString::fromStdString(layer_->parcels[static_cast<std::size_t>(parcel_)].id)
            : QString();
    ClearParcels();
    layer_ = std::move(read);
    parcelsPath_ = path;
    for (const std::string& m : layer_->messages) {
        layerMessages_ << QString::fromStdString(m);
    }
    if (layer_->parcels.empty()) {
        layerMessages_.prepend(Q(tt::kNoParcels));
    }
    parcelModel_->SetLayer(&*layer_);
    tblParcels_->resizeColumnsToContents();
    labParcelCount_->setText(Q(tt::kParcelCount(layer_->parcels.size())));
    edtParcels_->setText(QDir::toNativeSeparators(path));
    view_->Clear(Q(layer_->parcels.empty() ? tt::kNoParcels : tt::kChooseParcel));
    ShowMessages();
    QSettings settings;
    settings.setValue(kParcelsKey, QFileInfo(path).absoluteFilePath());
    settings.setValue(kLayerKey, QString::fromStdString(layer_->layerName));
    if (!keep.isEmpty()) {
        SelectParcel(keep);
    }
    return true;
}

void TfrmTerrain::ClearParcels() {
    parcelModel_->SetLayer(nullptr);
    layer_.reset();
    layerMessages_.clear();
    parcel_ = -1;
    result_.reset();
    labParcelCount_->clear();
    ShowFigures();
}

bool TfrmTerrain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtSearch_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (parcelFilter_->rowCount() > 0) {
                tblParcels_->setCurrentIndex(parcelFilter_->index(0, 0));
                tblParcels_->setFocus();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmTerrain::edtSearchChange(const QString& text) {
    parcelFilter_->setFilterFixedString(text);
}

bool TfrmTerrain::SelectParcel(const QString& id) {
    if (!layer_) {
        return false;
    }
    for (std::size_t i = 0; i < layer_->parcels.size(); ++i) {
        if (QString::fromStdString(layer_->parcels[i].id) == id) {
            const QModelIndex shown =
                parcelFilter_->mapFromSource(parcelModel_->index(static_cast<int>(i), 0));
            if (!shown.isValid()) { // hidden by the search: clear it
                edtSearch_->clear();
                return SelectParcel(id);
            }
            tblParcels_->setCurrentIndex(shown);
            tblParcels_->scrollTo(shown);
            return true;
        }
    }
    return false;
}

void TfrmTerrain::ParcelChosen() {
    const QModelIndex shown = tblParcels_->currentIndex();
    if (!shown.isValid() || !layer_) {
        return;
    }
    ShowParcel(parcelFilter_->mapToSource(shown).row());
}

void TfrmTerrain::ShowParcel(int row) {
    parcel_ = row;
    const terrain::Parcel& parcel = layer_->parcels[static_cast<std::size_t>(row)];
    const WaitCursor wait;
    result_ = model_->Analyse(parcel.shape);

    // A square around the parcel with a margin, so that the slopes above it show.
    const Bounds b = BoundsOf(parcel.shape);
    const double side = std::max({b.maxX - b.minX, b.maxY - b.minY, 10 * model_->cellSize()});
    const double half = side * 0.65 + std::max(10.0, 2 * model_->cellSize());
    const double cx = (b.minX + b.maxX) / 2;
    const double cy = (b.minY + b.maxY) / 2;
    const Bounds extent{cx - half, cy - half, cx + half, cy + half};
    std::vector<const terrain::Shape*> neighbours;
    for (std::size_t i = 0; i < layer_->parcels.size(); ++i) {
        if (static_cast<int>(i) != row && BoundsOf(layer_->parcels[i].shape).Intersects(extent)) {
            neighbours.push_back(&layer_->parcels[i].shape);
        }
    }
    std::vector<unsigned char> grey =
        model_->Hillshade(extent.minX, extent.minY, extent.maxX, extent.maxY, kViewSize, kViewSize);
    StretchContrast(grey);
    QImage shade(kViewSize, kViewSize, QImage::Format_Grayscale8);
    if (grey.size() == static_cast<std::size_t>(kViewSize) * kViewSize) {
        for (int y = 0; y < kViewSize; ++y) {
            std::copy_n(grey.data() + static_cast<std::size_t>(y) * kViewSize, kViewSize,
                        shade.scanLine(y));
        }
    } else {
        shade.fill(255);
    }
    const auto around =
        model_->ConcentratedFlow(extent.minX, extent.minY, extent.maxX, extent.maxY);
    view_->Show(std::move(shade), extent, parcel.shape, std::move(neighbours), result_->flowPath,
                result_->concentratedFlow, around);
    ShowFigures();
    ShowMessages();
}

void TfrmTerrain::ShowFigures() {
    const QString none = QStringLiteral("–");
    if (!result_) {
        for (QLabel* l : {labGradientMean_, labGradientPercentiles_, labFlowLength_,
                          labFlowLengthSpread_, labCellsUsed_, labCovered_, labForStep1_}) {
            l->setText(none);
        }
        labConcentratedFlow_->clear();
        btnApply_->setEnabled(false);
        return;
    }
    const terrain::ParcelTerrain& r = *result_;
    const bool slope = r.cellsUsed > 0;
    labGradientMean_->setText(slope ? Decimal(r.slopeMean, 1) + " %" : none);
    labGradientPercentiles_->setText(slope
                                         ? Decimal(r.slopeP10, 1) + " / " + Decimal(r.slopeP50, 1) +
                                               " / " + Decimal(r.slopeP90, 1) + " %"
                                         : none);
    labFlowLength_->setText(r.flowLengthM > 0 ? Decimal(r.flowLengthM, 1) + " m" : none);
    labFlowLengthSpread_->setText(r.flowLengthM > 0 ? Decimal(r.flowLengthP50M, 0) + " / " +
                                                          Decimal(r.flowLengthP90M, 0) + " m"
                                                    : none);
    const int concentrated = static_cast<int>(std::lround(r.concentratedLengthM));
    labConcentratedFlow_->setText(concentrated > 0 ? Q(tt::kConcentratedFlow(concentrated))
                                                   : QString());
    labCellsUsed_->setText(QString::number(r.cellsUsed));
    labCovered_->setText(Decimal(r.coveredShare * 100, 1) + " %");
    labForStep1_->setText(r.usable ? Q(tt::kStep1Values(r.gradient, r.flowLength)) : none);
    btnApply_->setEnabled(r.usable);
}

void TfrmTerrain::ShowMessages() {
    QStringList lines;
    if (!model_) {
        lines << Q(tt::kNeedRaster);
    } else if (!layer_) {
        lines << Q(tt::kNeedParcels);
    } else if (!result_ && !layer_->parcels.empty()) {
        lines << Q(tt::kChooseParcel);
    } else {
        for (const std::string& m : result_->messages) {
            lines << QString::fromStdString(m);
        }
        if (!result_->usable) {
            lines << Q(tt::kNotUsable);
        }
    }
    const auto shown = std::min<qsizetype>(layerMessages_.size(), kLayerMessagesShown);
    lines << layerMessages_.mid(0, shown);
    if (layerMessages_.size() > shown) {
        lines << Q(tt::kMoreMessages(static_cast<std::size_t>(layerMessages_.size() - shown)));
    }
    labMessages_->setText(lines.join('\n'));
}

bool TfrmTerrain::Usable() const {
    return result_ && result_->usable;
}

int TfrmTerrain::Gradient() const {
    return result_ ? result_->gradient : 0;
}

int TfrmTerrain::FlowLength() const {
    return result_ ? result_->flowLength : 0;
}

} // namespace brisolt::gui
