#pragma once
#include "app/client.h"
