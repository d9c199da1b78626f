#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMessageBox::information(nullptr, "Zarnik32", "Das Hauptfenster ist noch nicht fertig.");
  return 0;
}
