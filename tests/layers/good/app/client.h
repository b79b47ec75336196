#pragma once
#include "core/session.h"
