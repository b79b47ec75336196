#pragma once
#include "app/client.h"
#include "table/model.h"
#include <QString>
