#include "media/movie/vm_char.h"

VMChar::~VMChar() = default;
