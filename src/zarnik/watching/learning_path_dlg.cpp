#include "watching/learning_path_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "runs/all_episodes.h"
#include "runs/path_comparison.h"
#include "translation/language.h"
#include "watching/path_comparison_dlg.h"

TLearningPathDlg::TLearningPathDlg(QWidget* parent, const QString& file, const std::vector<TPathEntry>& path)
    : QDialog(parent),
      Path(path),
      File(file),
      Entries(new QListWidget(this)),
      Position(new QSlider(Qt::Horizontal, this)),
      Other(new QComboBox(this)),
      Compare(new QPushButton(tr("Vergleichen..."), this)) {
  setWindowTitle(tr("Lernweg"));
  auto* layout = new QVBoxLayout(this);
  auto* head = new QLabel(tr("Die bisher besten Netze aus %1, jedes in allen %2 Durchgängen gemessen:")
                              .arg(file)
                              .arg(AllEpisodes),
                          this);
  head->setWordWrap(true);
  layout->addWidget(head);
  for (const TPathEntry& e : path)
    Entries->addItem(tr("Generation %1: %2 Ablagen und %3 Aufnahmen je Durchgang, mittlere Fitness %4")
                         .arg(e.generation)
                         .arg(QString::fromStdString(FormatMean(e.MeanDeliveries())))
                         .arg(QString::fromStdString(FormatMean(e.MeanTakes())))
                         .arg(e.MeanFitness()));
  layout->addWidget(Entries);
  Position->setRange(0, static_cast<int>(path.size()) - 1);
  Position->setTickPosition(QSlider::TicksBelow);
  layout->addWidget(Position);
  auto* comparing = new QHBoxLayout;
  comparing->addWidget(new QLabel(tr("Vergleichen mit:"), this));
  for (const TPathEntry& e : path) Other->addItem(tr("Generation %1").arg(e.generation));
  comparing->addWidget(Other, 1);
  Compare->setAutoDefault(false);  // Enter still plays
  comparing->addWidget(Compare);
  layout->addLayout(comparing);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* play = buttons->addButton(tr("Vorführen"), QDialogButtonBox::AcceptRole);
  buttons->button(QDialogButtonBox::Close)->setText(tr("Schließen"));
  play->setDefault(true);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(Entries, &QListWidget::currentRowChanged, this, [this](int row) { Choose(row); });
  connect(Position, &QSlider::valueChanged, this, [this](int row) { Choose(row); });
  connect(Compare, &QPushButton::clicked, this, &TLearningPathDlg::ShowComparison);
  // Small enough for a 1280x1024 screen with room for the window's frame; the list scrolls.
  resize(620, 420);
  setMaximumSize(1200, 900);
}

void TLearningPathDlg::Choose(int row) {
  if (row < 0 || row >= static_cast<int>(Path.size()) || row == Current) return;
  Current = row;
  Entries->setCurrentRow(row);
  Position->setValue(row);
  if (OnChoose) OnChoose(Path[static_cast<size_t>(row)]);
}

// The chosen entry as A, the other as B, named as --compare names them.
void TLearningPathDlg::ShowComparison() {
  const int other = Other->currentIndex();
  if (Current < 0 || other < 0 || other >= static_cast<int>(Path.size())) return;
  const TPathEntry& a = Path[static_cast<size_t>(Current)];
  const TPathEntry& b = Path[static_cast<size_t>(other)];
  const auto name = [this](const TPathEntry& e) { return (File + QLatin1Char('@') + QString::number(e.generation)).toStdString(); };
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::string table = FormatPathComparison(ComparePathEntries(a, b), name(a), name(b), TrainerText);
  QApplication::restoreOverrideCursor();
  TPathComparisonDlg shown(this, QString::fromStdString(table));
  shown.exec();
}
