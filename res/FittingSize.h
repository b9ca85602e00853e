#pragma once

// How both front-ends choose the size of a face for texts that must fit their controls: from start down by one to
// floor, the first size for which fits holds; when it holds for none, the smallest size tried (floor, or start
// when that is already at or below it), as a text that does not fit is still better read as large as allowed.
// Each front-end brings its own floor and its own way of measuring; fits is asked once a size, largest first.
template <class Fits> int LargestFittingSize(int start, int floor, Fits&& fits) {
    int size = start;
    while (!fits(size) && size > floor)
        --size;
    return size;
}
