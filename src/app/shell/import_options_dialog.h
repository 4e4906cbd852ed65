// The Import dialog shown once a mesh has been read: the axis conversion and the scale.
#pragma once

#include <QString>

#include "app/shell/prompts.h"

class QWidget;

// Shows the dialog modally, starting from choice; on OK stores the user's choice there.
bool ShowImportOptions(QWidget* parent, const QString& fileName, const MeshSize& size, ImportChoice* choice);
