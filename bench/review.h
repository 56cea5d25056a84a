// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Building a pupil's review («00 Mi repaso») from a school year of her rows
// and the sentences of 20 exercises of 12 texts each.
namespace reviewbench {

void registerAll();

}  // namespace reviewbench
