#pragma once

#include <sys/types.h>

// For a child between fork and exec (async-signal-safe only): the child gets
// SIGTERM when `parent` ends, and at once if it has ended already, so that a
// program killed outright (kill -9, a lost X server) takes its workers along;
// they store their files as after any stop.
void EndWithParent(pid_t parent);
