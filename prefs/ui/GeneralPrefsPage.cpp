#include "prefs/ui/GeneralPrefsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "prefs/ui/DialogUnits.h"
#include "prefs/ui/PrefsUiText.h"

namespace korvana {
namespace {

// Placement in dialog units inside the page.
constexpr DialogControl kLimitsGroup{kNoControlId, kLimitsGroupText, 14, 10, 322, 112};
constexpr int kFirstRowY = 32;
constexpr int kRowStep = 22;
constexpr int kLabelX = 28;
constexpr int kLabelWidth = 128;
constexpr int kEditX = 164;
constexpr int kEditWidth = 44;
constexpr int kEditHeight = 14;
constexpr int kUnitX = 212;
constexpr int kUnitWidth = 20;
constexpr int kNoteX = 234;
constexpr int kNoteWidth = 72;
// Texts sit 3 units down so that they line up with the middle of the box.
constexpr int kTextOffset = 3;
constexpr int kTextHeight = 8;
// Under the group.
constexpr int kNotConnectedY = 128;
constexpr DialogControl kDesktopGroup{kNoControlId, "Desktop", 14, 144, 322, 36};
constexpr int kNoticesY = 160;
constexpr int kNoticesHeight = 10;
constexpr std::string_view kDownloadNoticesText =
    "Tell me when downloads finish or fail while I am in another window";

QString EditName(const LimitField& field) {
    return QStringLiteral("IDC_") + FixedText(field.option).toUpper();
}

}  // namespace

GeneralPrefsPage::GeneralPrefsPage(const CoreOptionsPort& core, bool downloadNotices,
                                   const DialogUnits& units, QWidget* parent)
    : QWidget(parent), filled_(FillGeneral(core)), downloadNotices_(new QCheckBox(this)) {
    setObjectName(QStringLiteral("IDD_PREFS_GENERAL"));
    auto* group = new QGroupBox(FixedText(kLimitsGroup.text), this);
    units.Place(*group, kLimitsGroup);
    for (std::size_t i = 0; i < kLimitCount; ++i) {
        const LimitField& field = kLimitFields[i];
        const int y = kFirstRowY + static_cast<int>(i) * kRowStep;
        const int textY = y + kTextOffset;
        AddLabel(*this, field.label, units.Rect(kLabelX, textY, kLabelWidth, kTextHeight));
        auto* edit = new QLineEdit(this);
        edit->setObjectName(EditName(field));
        edit->setMaxLength(static_cast<int>(kMaxOptionTextBytes));
        edit->setText(ShownText(filled_.limits[i]));
        AcceptDigitsOnly(*edit);
        edit->setEnabled(filled_.reported[i]);
        edit->setGeometry(units.Rect(kEditX, y, kEditWidth, kEditHeight));
        edits_[i] = edit;
        if (!field.unitText.empty()) {
            AddLabel(*this, field.unitText, units.Rect(kUnitX, textY, kUnitWidth, kTextHeight));
        }
        if (!field.noteText.empty()) {
            QLabel* note =
                AddLabel(*this, field.noteText, units.Rect(kNoteX, textY, kNoteWidth, kTextHeight));
            note->setEnabled(false);
        }
    }
    if (!AnyReported(filled_)) {
        QLabel* note =
            AddLabel(*this, kCoreOptionsUnreportedText,
                     units.Rect(kLimitsGroup.x, kNotConnectedY, kLimitsGroup.width, kTextHeight));
        note->setObjectName(QStringLiteral("IDC_CORE_NOT_CONNECTED"));
    }
    auto* desktop = new QGroupBox(FixedText(kDesktopGroup.text), this);
    units.Place(*desktop, kDesktopGroup);
    downloadNotices_->setObjectName(QStringLiteral("IDC_DOWNLOAD_NOTICES"));
    downloadNotices_->setText(FixedText(kDownloadNoticesText));
    downloadNotices_->setChecked(downloadNotices);
    downloadNotices_->setGeometry(units.Rect(
        kLabelX, kNoticesY, kLimitsGroup.width - 2 * (kLabelX - kLimitsGroup.x), kNoticesHeight));
    // The page's focus goes to its first box that can take it.
    for (QLineEdit* edit : edits_) {
        if (edit->isEnabled()) {
            setFocusProxy(edit);
            break;
        }
    }
}

GeneralFields GeneralPrefsPage::Fields() const {
    GeneralFields fields;
    fields.reported = filled_.reported;
    for (std::size_t i = 0; i < kLimitCount; ++i) {
        fields.limits[i] = TypedBytes(edits_[i]->text(), filled_.limits[i]);
    }
    return fields;
}

bool GeneralPrefsPage::DownloadNoticesWanted() const {
    return downloadNotices_->isChecked();
}

}  // namespace korvana
