#include "main_window/key_overview_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TKeyOverviewDlg::TKeyOverviewDlg(QWidget* parent, const QList<TKeyLine>& lines)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(tr("Tastenbelegung"));
  Lines = new QTableWidget(static_cast<int>(lines.size()), 2, this);
  Lines->setHorizontalHeaderLabels({tr("Taste"), tr("Befehl")});
  Lines->verticalHeader()->hide();
  Lines->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Lines->setSelectionMode(QAbstractItemView::NoSelection);
  Lines->setFocusPolicy(Qt::NoFocus);
  Lines->setShowGrid(false);
  Lines->setWordWrap(false);
  for (int row = 0; row < lines.size(); ++row) {
    Lines->setItem(row, 0, new QTableWidgetItem(lines[row].Keys));
    Lines->setItem(row, 1, new QTableWidgetItem(lines[row].Command));
  }
  Lines->resizeColumnsToContents();
  Lines->resizeRowsToContents();
  Lines->horizontalHeader()->setStretchLastSection(true);
  Lines->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Lines);
  layout->addWidget(buttons);

  // Every line in view without scrolling, as far as the screen allows.
  const int width = Lines->horizontalHeader()->length() + 2 * Lines->frameWidth() + 24;
  const int height = Lines->verticalHeader()->length() + Lines->horizontalHeader()->height() + 2 * Lines->frameWidth();
  Lines->setMinimumSize(width, std::min(height, 600));
}
