#pragma once
#include "window/form.h"
