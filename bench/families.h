// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The choice of misspellings of miravellon-crear and the editor's «Poner
// faltas…» on the largest texts they take.
namespace familiesbench {

void registerAll();

}  // namespace familiesbench
