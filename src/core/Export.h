#pragma once
// Marks what the plugin library exports; everything else stays hidden.
#define TANDORSHOP_API __attribute__((visibility("default")))
