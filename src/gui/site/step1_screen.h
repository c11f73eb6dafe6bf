#pragma once
// Step 1: the site of the parcel (region, gradient, flow length, soil type, stone cover,
// management direction). Everything it decides is in Step1Form; this window shows the
// form and forwards the user's actions to it.

#include "gui/shell/wizard_screen.h"
#include "key/site/step1_form.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace brisolt::gui {

class RadioGroup;
class TerrainWindow;

class TfrmStep1 : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmStep1(AppContext& context);
#ifdef BRISOLT_HAVE_TERRAIN
    // The elevation-model window once it has been opened (tests); null before.
    TerrainWindow* Terrain() const {
        return terrain_;
    }
#endif

protected:
    void FormActivate() override;

private slots:
    void cmbRegionChange(int index);
    void cmbSoilTypeChange(int index);
    void rgrEntertainmentClick(int position);
    // Typing in a number field: the form always holds the text as it stands.
    void edtGradientChange(const QString& text);
    void edtFloatDistanceChange(const QString& text);
    void edtStonesChange(const QString& text);
    // Leaving a number field reduces it to its digits.
    void edtGradientExit();
    void edtFloatDistanceExit();
    void edtStonesExit();
    void btnHelpRegionClick();
    void btnHelpGradientClick();
    void btnHelpFloatDistanceClick();
    void btnHelpSoilTypeClick();
    void btnHelpStonesClick();
    void btnBackClick();
    void btnNextClick();

private:
#ifdef BRISOLT_HAVE_TERRAIN
    // "Gefälle und Fliessstrecke aus Höhenmodell …": the measuring window, made on first use
    // and kept, so the files stay open for the next parcel.
    void mniTerrainClick();
    // "Übernehmen" there: the two figures go into the fields as if typed and left.
    void TakeTerrainFigures();
    TerrainWindow* terrain_ = nullptr;
#endif
    // Which number field was left.
    enum class NumberField { Gradient, FloatDistance, Stones };

    QLineEdit* AddNumberField(const QString& objectName, const QRect& rect, const QString& unit);
    QPushButton* AddHelpButton(const QString& objectName, int y, void (TfrmStep1::*slot)());
    void NumberFieldExit(NumberField field);
    // Copies the form state into every widget, without echoing into the handlers.
    void ShowForm();

    Step1Form form_;
    QComboBox* cmbRegion_ = nullptr;
    QLabel* labRegionDescription_ = nullptr;
    QLineEdit* edtGradient_ = nullptr;
    QLineEdit* edtFloatDistance_ = nullptr;
    QComboBox* cmbSoilType_ = nullptr;
    QLabel* labSoilTypeDescription_ = nullptr;
    QLineEdit* edtStones_ = nullptr;
    RadioGroup* rgrEntertainment_ = nullptr;
};

} // namespace brisolt::gui
