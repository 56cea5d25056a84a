#include "windows/resources.h"

#include <QtGlobal>

void initFormResources()
{
    Q_INIT_RESOURCE(forms);
}
