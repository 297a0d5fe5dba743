#include "RectDTO.h"

#include <cmath>

RectDTO RectDTO::dto(const QRectF& rect) {
    return RectDTO{rect.x(), rect.y(), std::abs(rect.width()), std::abs(rect.height())};
}
