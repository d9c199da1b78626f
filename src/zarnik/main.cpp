#include "zarnik_application.h"

// The command line is not used.
int main(int argc, char* argv[]) {
  TZarnikApplication app(argc, argv);
  return app.Run();
}
