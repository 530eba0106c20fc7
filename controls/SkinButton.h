#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "controls/ButtonLogic.h"
#include "controls/Shade.h"

namespace korvana {

// The picture button of every page: a generated shade behind an icon and a
// text, with hover, pressed, checked and disabled looks, push, check and
// radio kinds, and a tool tip that can change while checked.
//
// Radio buttons form groups among the buttons of one parent that share a
// group number; checking one unchecks the rest of its group only.
class SkinButton : public QWidget {
    Q_OBJECT
  public:
    explicit SkinButton(QWidget* parent = nullptr);
    SkinButton(const QString& text, const ButtonStyle& style, QWidget* parent = nullptr);

    // Takes the kind, push-like and flat flags and the text alignment.
    void SetStyle(const ButtonStyle& style);
    const ButtonTraits& Traits() const { return traits_; }
    void SetText(const QString& text);
    QString Text() const { return text_; }

    // Builds the background shades for the current size; they are rebuilt
    // with the same seed whenever the size changes.
    void SetShade(int type, int granularity, int highlight, int colouring, const QColor& colour,
                  std::uint32_t seed = 1);
    const ButtonShades& Shades() const { return shades_; }

    // A null pressed or hover icon falls back to `icon`; a null `icon`
    // removes the icon.
    void SetIcon(const QIcon& icon, int alignment = kIconCentre, const QIcon& pressed = QIcon(),
                 const QIcon& hover = QIcon());
    void SetIconOffsetX(int offset);
    void SetIconOffsetY(int offset);
    Rect IconBox() const { return iconBox_; }

    void SetToolTipText(const QString& text, const QString& checkedText = QString());
    // Returns the previous colour.
    QColor SetTextColour(const QColor& colour);
    void SetFlat(bool flat);
    void SetDefault(bool isDefault);
    // Face names are cut to 31 characters; `height` is in pixels.
    void SetButtonFont(const QString& face, int height, int weight, bool italic, bool underline);
    void SetButtonFont(const QFont& font);

    void SetCheck(bool checked);
    bool IsChecked() const { return state_.Checked(); }
    // What another radio button of the group sends when it becomes checked.
    void Uncheck();
    void SetGroup(int group) { group_ = group; }

    bool IsPushed() const { return state_.Pushed(); }
    bool IsHovering() const { return state_.Hovering(); }

    QSize sizeHint() const override;

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    void RebuildShades();
    void PlaceIcon();
    void ApplyRelease(const ButtonState::Release& release);
    void UpdateToolTip();
    void UncheckGroup();
    void PaintBackground(QPainter& painter, const ButtonLook& look, const SystemColours& colours);
    void PaintIcon(QPainter& painter, const ButtonLook& look);
    void PaintFocusLines(QPainter& painter, int insetBy);
    void PaintText(QPainter& painter, const ButtonLook& look, const SystemColours& colours);

    ButtonTraits traits_;
    ButtonState state_{ButtonKind::Push};
    QString text_;
    std::optional<ShadeRequest> shadeRequest_;
    ButtonShades shades_;
    QImage normalImage_;
    QImage pressedImage_;
    QImage disabledImage_;
    QImage hoverImage_;
    QImage horizontalFocusImage_;
    QImage verticalFocusImage_;
    QIcon icon_;
    QIcon pressedIcon_;
    QIcon hoverIcon_;
    QSize iconSize_;
    Rect iconBox_{};
    int iconAlignment_ = kIconCentre;
    int iconOffsetX_ = 0;
    int iconOffsetY_ = 6;
    int margin_ = 4;
    bool isDefault_ = false;
    std::optional<QColor> textColour_;
    std::optional<QFont> font_;
    int group_ = 0;
};

}  // namespace korvana
