#include "progress/ann_ga_dlg.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "translation/language.h"

namespace {

enum class Kind { Right, Left, Sunken, Etched, Button };

struct ControlDef {
  int id;  // -1: no id of its own
  Kind kind;
  int x, y, w, h;  // dialog units
  const char* text;
};

// Window size in dialog units.
constexpr int DlgWidth = 423;
constexpr int DlgHeight = 184;

// Weight lines: one per source node, top to bottom in each block.
constexpr int WeightLineHeight = 12;
struct WeightBlock {
  int firstId, lines, x, width;
};
constexpr WeightBlock WeightBlocks[] = {
    {320, 11, 16, 141},  // input layer to hidden 1
    {331, 7, 176, 141},  // hidden 1 to hidden 2
    {338, 7, 336, 81},   // hidden 2 to output layer
};

// Everything but the weight lines. The etched frames outline every second
// five-character weight column (20 units), so the columns read like a table.
constexpr ControlDef Controls[] = {
    {301, Kind::Right, 160, 104, 60, 10, ""},
    {302, Kind::Sunken, 224, 104, 60, 10, ""},
    {303, Kind::Right, 160, 120, 60, 10, ""},
    {304, Kind::Sunken, 224, 120, 60, 10, ""},
    {305, Kind::Right, 292, 120, 60, 10, ""},
    {306, Kind::Sunken, 356, 120, 60, 10, ""},
    {307, Kind::Right, 292, 104, 60, 10, ""},
    {308, Kind::Sunken, 356, 104, 60, 10, ""},
    {309, Kind::Right, 160, 136, 60, 10, ""},
    {310, Kind::Sunken, 224, 136, 60, 10, ""},
    {311, Kind::Right, 292, 136, 60, 10, ""},
    {312, Kind::Sunken, 356, 136, 60, 10, ""},
    {313, Kind::Left, 20, 152, 60, 10, ""},
    {314, Kind::Sunken, 20, 168, 60, 10, ""},
    {315, Kind::Left, 88, 152, 60, 10, ""},
    {316, Kind::Sunken, 88, 168, 60, 10, ""},
    {317, Kind::Left, 156, 152, 60, 10, ""},
    {318, Kind::Sunken, 156, 168, 60, 10, ""},
    {362, Kind::Sunken, 224, 168, 60, 10, ""},
    {361, Kind::Left, 224, 152, 60, 10, ""},
    {363, Kind::Left, 292, 152, 60, 10, ""},
    {364, Kind::Sunken, 292, 168, 60, 10, ""},
    {-1, Kind::Etched, 36, 16, 21, 132, nullptr},
    {-1, Kind::Etched, 76, 16, 21, 132, nullptr},
    {-1, Kind::Etched, 116, 16, 21, 132, nullptr},
    {-1, Kind::Etched, 356, 16, 21, 84, nullptr},
    {-1, Kind::Etched, 396, 16, 1, 84, nullptr},  // a line: left edge of column 4
    {-1, Kind::Etched, 196, 16, 21, 84, nullptr},
    {-1, Kind::Etched, 236, 16, 21, 84, nullptr},
    {-1, Kind::Etched, 276, 16, 21, 84, nullptr},
    {-1, Kind::Left, 8, 16, 7, 132, "I\nn\np\nu\nt\nl\na\ny\ne\nr"},
    {-1, Kind::Left, 328, 16, 7, 84, "H\ni\nd\nd\ne\nn\n\n2"},
    {-1, Kind::Left, 176, 4, 56, 9, "Hidden 2"},
    {-1, Kind::Left, 168, 16, 7, 84, "H\ni\nd\nd\ne\nn\n\n1"},
    {-1, Kind::Left, 16, 4, 56, 9, "Hidden 1"},
    {-1, Kind::Left, 336, 4, 56, 9, "Outputlayer"},
    {2, Kind::Button, 364, 164, 50, 14, QT_TRANSLATE_NOOP("TAnnGaDlg", "Abbrechen")},
};

// A fixed-pitch font keeps the weight columns under their frames. Some
// platforms (offscreen, minimal) answer the fixed-font query with the general
// font, so fall back to the fontconfig alias.
// Some monospaced fonts do not say so in their metadata (QFontInfo::fixedPitch
// is false for Noto Sans Mono), so the widths decide.
bool FixedPitch(const QFont& font) {
  const QFontMetricsF fm(font);
  return fm.horizontalAdvance(QLatin1Char('i')) == fm.horizontalAdvance(QLatin1Char('W'));
}

QFont DialogFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(8);
  if (!FixedPitch(font)) {
    font = QFont(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(8);
  }
  return font;
}

// The labels beside the figures, which the training code names.
bool IsCaption(int id) {
  for (const ControlDef& c : Controls)
    if (c.id == id) return c.kind == Kind::Right || c.kind == Kind::Left;
  return false;
}

}  // namespace

TAnnGaDlg::TAnnGaDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setModal(false);
  setWindowTitle(tr("GA - Parameter"));
  setFont(DialogFont());

  // Dialog units: a quarter of the character width across, an eighth of the
  // character height down. The width is taken unrounded, as the text is laid
  // out: unhinted fonts advance by fractions of a pixel, and a rounded width
  // would let the columns drift off their frames by a pixel every few units.
  const QFontMetricsF fm(font());
  UnitX = fm.horizontalAdvance(QLatin1Char('0')) / 4.0;
  UnitY = fm.height() / 8.0;
  setFixedSize(MapDialogRect(0, 0, DlgWidth, DlgHeight).size());

  auto makeLabel = [this](int id, Kind kind, const QRect& r, const QString& text) {
    auto* label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);  // figures like "( 12 , 3 )" stay literal
    label->setGeometry(r);
    if (kind == Kind::Sunken) {
      label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      label->setLineWidth(1);
      label->setIndent(0);  // text right inside the edge, as the frames assume
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    } else if (kind == Kind::Right) {
      label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);  // level with its value
    } else {
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // the captions run downwards
    }
    label->setText(text);
    if (id > 0) {
      label->setObjectName(QStringLiteral("ctl%1").arg(id));
      Labels.insert(id, label);
    }
  };

  for (const WeightBlock& b : WeightBlocks)
    for (int k = 0; k < b.lines; ++k)
      makeLabel(b.firstId + k, Kind::Sunken,
                MapDialogRect(b.x, 16 + WeightLineHeight * k, b.width, WeightLineHeight), QString());

  for (const ControlDef& c : Controls) {
    const QRect r = MapDialogRect(c.x, c.y, c.w, c.h);
    switch (c.kind) {
      case Kind::Etched: {
        // Created after the weight lines so their edges stay on top.
        auto* frame = new QFrame(this);
        frame->setFrameStyle((c.w > 1 ? QFrame::Box : QFrame::VLine) | QFrame::Sunken);
        frame->setGeometry(c.w > 1 ? r : r.adjusted(0, 0, qMax(0, 2 - r.width()), 0));
        frame->setAttribute(Qt::WA_TransparentForMouseEvents);
        break;
      }
      case Kind::Button: {
        auto* button = new QPushButton(tr(c.text), this);
        button->setObjectName(QStringLiteral("ctl%1").arg(c.id));
        button->setGeometry(r);
        // Enter must reach keyPressEvent once, not also click the button.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, &TAnnGaDlg::reject);
        button->setFocus();
        break;
      }
      default:
        makeLabel(c.id, c.kind, r, QString::fromLatin1(c.text));
        break;
    }
  }

  // Centred with its frame; the frame's size is only known once shown, if at all.
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  auto centre = [this, screen] {
    if (screen)
      move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameGeometry().size(),
                               screen->availableGeometry())
               .topLeft());
  };
  centre();
  show();
  centre();
}

TAnnGaDlg::~TAnnGaDlg() = default;

QRect TAnnGaDlg::MapDialogRect(int x, int y, int w, int h) const {
  // Both edges are rounded, so neighbouring controls meet without gaps.
  const int left = qRound(x * UnitX), top = qRound(y * UnitY);
  return QRect(QPoint(left, top), QPoint(qRound((x + w) * UnitX) - 1, qRound((y + h) * UnitY) - 1));
}

void TAnnGaDlg::SetText(int id, const QString& text) {
  if (QLabel* label = Labels.value(id)) label->setText(text);
}

void TAnnGaDlg::SetText(int id, const char* text) {
  // The training code formats plain ASCII figures; Latin-1 covers them. Its
  // captions are German, marked there, and shown in the language installed.
  if (text != nullptr && IsCaption(id))
    SetText(id, CoreText("TrainingLabels", text));
  else
    SetText(id, text ? QString::fromLatin1(text) : QString());
}

QString TAnnGaDlg::Text(int id) const {
  const QLabel* label = Labels.value(id);
  return label ? label->text() : QString();
}

QLabel* TAnnGaDlg::Control(int id) const { return Labels.value(id); }

void TAnnGaDlg::accept() { emit userStop(); }

void TAnnGaDlg::reject() { emit userStop(); }

void TAnnGaDlg::keyPressEvent(QKeyEvent* event) {
  const auto mods = event->modifiers();
  const bool enter = (event->key() == Qt::Key_Return && mods == Qt::NoModifier) ||
                     (event->key() == Qt::Key_Enter && (mods & ~Qt::KeypadModifier) == Qt::NoModifier);
  if (enter) {
    accept();
    return;
  }
  QDialog::keyPressEvent(event);  // Escape goes to reject()
}

void TAnnGaDlg::closeEvent(QCloseEvent* event) {
  // Only the owner ends the window, when the run is over.
  event->ignore();
  emit userStop();
}
