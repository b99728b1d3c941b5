#pragma once

// One figure of a symbol's lots, summed for its grants, its ordinary lots and both, each
// in document order, so that either spelling of the symbol can be answered afterwards.
struct KindSums {
    float grants = 0;
    float ordinary = 0;
    float all = 0;

    void Add(bool grant, float value) {
        (grant ? grants : ordinary) += value;
        all += value;
    }
    // The valuing queries' selection rule for a symbol text that did (`optionsOnly`) or did
    // not carry the option suffix: with the ungroup setting on, "XYZ-O" takes the grants of
    // XYZ and "XYZ" its ordinary lots; with it off, both take every lot of XYZ.
    float Selected(bool ungroupOptions, bool optionsOnly) const {
        if (!ungroupOptions) {
            return all;
        }
        return optionsOnly ? grants : ordinary;
    }
};
