// Cosine and sine by whole degrees, 0 to 360 inclusive (entry 360 is a real entry).
#pragma once

extern float cos_table[361];
extern float sin_table[361];

void build_trig_tables();
