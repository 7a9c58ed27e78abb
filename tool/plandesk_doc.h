// CPlandeskDoc: the document of the single-document frame. It carries no data: the whole
// design lives in the working file and is edited only through the configuration dialogs.
#pragma once

#include "framework/document.h"

class CPlandeskDoc : public zf::Document {};
