#pragma once
// The whole math library.
#include "math/matrix.h"
#include "math/plane.h"
#include "math/quaternion.h"
#include "math/types.h"
#include "math/vector3.h"
