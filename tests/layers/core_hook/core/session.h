#pragma once
#include "rewards/jade.h"
