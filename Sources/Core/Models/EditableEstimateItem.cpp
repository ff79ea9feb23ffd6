#include "EditableEstimateItem.h"

#include "Utils/Hashing.h"

size_t qHash(const EditableEstimateItem &item, size_t seed)
{
    return Hashing::combine(seed, item.id, item.title, item.description, item.category, item.hours, item.rate,
                            item.isLocked);
}
