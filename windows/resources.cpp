// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/resources.h"

#include <QtGlobal>

void initFormResources()
{
    Q_INIT_RESOURCE(forms);
}
