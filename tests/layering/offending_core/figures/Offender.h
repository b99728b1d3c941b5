#pragma once

// A core file as it must never be written: the layering check names both lines.
#include <QString>
#include <string>

#include "core/model/Kx7Doc.h"
#include "desktop/forms/SaleDlg.h"
