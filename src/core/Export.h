#pragma once
// Marks what the plugin library exports (the entry points and the points
// functions for other plugins); everything else stays hidden.
#ifdef _WIN32
#define TANDORSHOP_API __declspec(dllexport)
#else
#define TANDORSHOP_API __attribute__((visibility("default")))
#endif
