#pragma once

// The options window: a small tool window that edits the live Settings. Every control writes
// its field the moment it changes, so the next frame uses the new value; there is no OK or
// Cancel, and the window saves nothing itself (the settings are saved when the main window
// closes). Closing the window hides it; showing it again shows it as it was.

#include "settings/Settings.h"

#include <QWidget>

#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QSlider;

namespace ondrel {

inline constexpr char OptionsWindowTitle[] = "Ondrel オプションウィンドウ";

class OptionsWindow : public QWidget {
public:
    // Creates the hidden window with its controls set from `settings`, and posts the first
    // gain update, which writes Power back from the slider (clamped to 0 to 1000) once the
    // event loop runs, whether or not the window is ever shown.
    explicit OptionsWindow(Settings& settings);

    // Shows the window in its normal state, as it was when it was hidden.
    void ShowNormal();

    // The controls, for tests.
    QSlider* gain() const { return gain_; }
    QLabel* gainValue() const { return gainValue_; }
    QCheckBox* redrawLow() const { return redrawLow_; }
    QCheckBox* onFilter() const { return onFilter_; }
    QRadioButton* smoothing(int i) const { return smoothing_[i]; }
    QRadioButton* speed(int i) const { return speed_[i]; }
    QCheckBox* leftReversal() const { return leftReversal_; }
    QCheckBox* rightReversal() const { return rightReversal_; }
    QComboBox* colourStyle() const { return colourStyle_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The gain slider moved (also while dragged): the value label and Power.
    void OnGainChanged();
    // Any check box or radio button was clicked: every one of them is read again.
    void OnButtonClicked();
    void OnStyleChosen(int index);

    Settings& settings_;
    QSlider* gain_ = nullptr;
    QLabel* gainValue_ = nullptr;
    QCheckBox* redrawLow_ = nullptr;
    QCheckBox* onFilter_ = nullptr;
    std::array<QRadioButton*, 3> smoothing_{};
    std::array<QRadioButton*, 2> speed_{};
    QCheckBox* leftReversal_ = nullptr;
    QCheckBox* rightReversal_ = nullptr;
    QComboBox* colourStyle_ = nullptr;
};

// Makes the hidden options window for `settings`; nullptr if it cannot be made.
std::unique_ptr<OptionsWindow> CreateOptionsWindow(Settings& settings);

} // namespace ondrel
