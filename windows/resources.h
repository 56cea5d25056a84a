// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Registers the pictures held by the window definitions (splash artwork,
// button pictures, window icon). Call once before the first window is made.
void initFormResources();
