#pragma once

// Symbols of libkovaplatform.so that its users may call.
#define KOVAPLATFORM_API __attribute__((visibility("default")))
