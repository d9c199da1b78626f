#include "ann-ga/zarnik_host.h"

TZarnikHost* ZarnikWindow = nullptr;
