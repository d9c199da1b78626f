#include "zarnik_host.h"

TZarnikHost* ZarnikWindow = nullptr;
