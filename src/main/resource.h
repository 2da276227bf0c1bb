#pragma once

#define IDI_KORVEX 1
