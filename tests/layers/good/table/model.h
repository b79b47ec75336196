#pragma once
#include "protocol/kinds.h"
