// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Marks a fixed English text that the windows show in the reader's language: the core
// hands out the English, and the windows look it up under context in the translation.
// The translation tools are told to collect these as they collect Qt's own markers.
#define SKIMMET_TRANSLATABLE(context, text) text
