#pragma once

// asInt and intField now live with the rest of the JSON coding.
#include "platform/json/json_coding.h"
