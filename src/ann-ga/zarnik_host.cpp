#include "zarnik_host.h"

#include "evaluation_pool.h"

TZarnikHost* ZarnikWindow = nullptr;

void TZarnikHost::AwaitPool(TEvaluationPool& pool) { pool.Wait(); }
