// The main window's desktop pages: how the desktop shows its icons.
#pragma once

#include "desktop/IconSizePage.h"
#include "desktop/IconUtilsPage.h"
#include "desktop/MiscPage.h"
#include "desktop/RemoveIconsPage.h"
#include "desktop/ShowHideIconsPage.h"
