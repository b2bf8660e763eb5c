#include "options/OptionsWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include <cstdio>

namespace ondrel {
namespace {

constexpr int GainMaximum = 1000;

// The client area the controls need: the combo box ends at 5 + 220 across and, closed,
// about 232 down. With its caption and border the window is about 260 × 260.
constexpr int ClientWidth = 254;
constexpr int ClientHeight = 236;

constexpr const char* StyleNames[] = {
    "クラシック表示",
    "White - Black",
    "White - Dark Black",
    "火焔",
    "水のしぶき",
    "カラーグラデーション - 1",
    "カラーグラデーション - 2",
    "カラーグラデーション - 3",
    "カラーグラデーション - 4",
};

// The GUI font of the controls: small enough for their 14- and 15-pixel rows.
QFont GuiFont() {
    QFont font;
    font.setPixelSize(12);
    return font;
}

template <typename Widget> Widget* Place(Widget* widget, int x, int y, int w, int h) {
    widget->setGeometry(x, y, w, h);
    widget->setFont(GuiFont());
    return widget;
}

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

OptionsWindow::OptionsWindow(Settings& settings) : settings_(settings) {
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setWindowTitle(Text(OptionsWindowTitle));
    setFixedSize(ClientWidth, ClientHeight);

    // The controls in their creation order, at their client positions.
    Place(new QLabel(Text("増幅コントロール"), this), 2, 2, 180, 20);
    gain_ = Place(new QSlider(Qt::Horizontal, this), 5, 20, 200, 22);
    gain_->setRange(0, GainMaximum);
    gain_->setTickPosition(QSlider::TicksBelow);
    gain_->setTickInterval(100);
    gain_->setValue(settings_.Power); // outside the range the thumb sits at the nearer end
    gainValue_ = Place(new QLabel(this), 210, 26, 20, 12);
    redrawLow_ =
        Place(new QCheckBox(Text("描画速度 1/2 (Ver 1.3 シミュレート)"), this), 5, 50, 240, 14);
    onFilter_ = Place(new QCheckBox(Text("sin 窓を適用する"), this), 5, 67, 240, 14);
    Place(new QLabel(Text("値減算処理モード"), this), 2, 85, 180, 14);
    smoothing_[0] = Place(new QRadioButton(Text("リアルタイム (処理なし)"), this), 5, 105, 140, 15);
    smoothing_[1] = Place(new QRadioButton(Text("平均値減算"), this), 5, 125, 80, 15);
    smoothing_[2] = Place(new QRadioButton(Text("定量値減算"), this), 5, 145, 80, 15);
    speed_[0] = Place(new QRadioButton(Text("高速"), this), 150, 115, 50, 15);
    speed_[1] = Place(new QRadioButton(Text("低速"), this), 150, 135, 50, 15);
    Place(new QLabel(Text("スペクトラムアナライザ"), this), 2, 170, 200, 14);
    leftReversal_ = Place(new QCheckBox(Text("左チャンネル反転"), this), 5, 190, 100, 14);
    rightReversal_ = Place(new QCheckBox(Text("右チャンネル反転"), this), 140, 190, 100, 14);
    colourStyle_ = Place(new QComboBox(this), 5, 210, 220, 22);

    // Two radio groups; checking one button of a group unchecks the others of that group.
    auto* smoothingGroup = new QButtonGroup(this);
    for (QRadioButton* button : smoothing_) {
        smoothingGroup->addButton(button);
    }
    auto* speedGroup = new QButtonGroup(this);
    for (QRadioButton* button : speed_) {
        speedGroup->addButton(button);
    }
    // Values outside the groups (only from an edited file) check no button.
    if (settings_.LevelSmooth >= 0 && settings_.LevelSmooth < 3) {
        smoothing_[settings_.LevelSmooth]->setChecked(true);
    }
    if (settings_.DecreaseQuantity >= 0 && settings_.DecreaseQuantity < 2) {
        speed_[settings_.DecreaseQuantity]->setChecked(true);
    }
    redrawLow_->setChecked(settings_.RedrawLow);
    onFilter_->setChecked(settings_.OnFilter);
    leftReversal_->setChecked(settings_.Digital.LeftReversal);
    rightReversal_->setChecked(settings_.Digital.RightReversal);

    for (const char* name : StyleNames) {
        colourStyle_->addItem(Text(name));
    }
    const int style = settings_.Digital.ColorStyle;
    colourStyle_->setCurrentIndex(style >= 0 && style < colourStyle_->count() ? style : -1);

    connect(gain_, &QSlider::valueChanged, this, [this] { OnGainChanged(); });
    for (QAbstractButton* button :
         {static_cast<QAbstractButton*>(redrawLow_), static_cast<QAbstractButton*>(onFilter_),
          static_cast<QAbstractButton*>(smoothing_[0]),
          static_cast<QAbstractButton*>(smoothing_[1]),
          static_cast<QAbstractButton*>(smoothing_[2]), static_cast<QAbstractButton*>(speed_[0]),
          static_cast<QAbstractButton*>(speed_[1]), static_cast<QAbstractButton*>(leftReversal_),
          static_cast<QAbstractButton*>(rightReversal_)}) {
        connect(button, &QAbstractButton::clicked, this, [this] { OnButtonClicked(); });
    }
    connect(colourStyle_, &QComboBox::activated, this, [this](int index) { OnStyleChosen(index); });

    // The first gain update comes from the event loop, as a posted message would.
    QTimer::singleShot(0, this, [this] { OnGainChanged(); });
}

void OptionsWindow::OnGainChanged() {
    char text[20];
    std::snprintf(text, sizeof text, "%f", gain_->value() * 0.01);
    gainValue_->setText(QString::fromLatin1(text));
    settings_.Power = gain_->value();
}

void OptionsWindow::OnButtonClicked() {
    settings_.Digital.LeftReversal = leftReversal_->isChecked();
    settings_.Digital.RightReversal = rightReversal_->isChecked();
    settings_.RedrawLow = redrawLow_->isChecked();
    settings_.OnFilter = onFilter_->isChecked();
    for (int i = 0; i < 3; ++i) {
        if (smoothing_[i]->isChecked()) {
            settings_.LevelSmooth = i;
        }
    }
    for (int i = 0; i < 2; ++i) {
        if (speed_[i]->isChecked()) {
            settings_.DecreaseQuantity = i;
        }
    }
}

void OptionsWindow::OnStyleChosen(int index) {
    settings_.Digital.ColorStyle = index;
}

void OptionsWindow::ShowNormal() {
    showNormal();
    raise();
    activateWindow();
}

void OptionsWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

std::unique_ptr<OptionsWindow> CreateOptionsWindow(Settings& settings) {
    return std::make_unique<OptionsWindow>(settings);
}

} // namespace ondrel
