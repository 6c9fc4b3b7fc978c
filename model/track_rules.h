// How a walked track becomes a map item: a polygon shape when it ends near
// where it began (the field walked round), else a path; and how far its
// line may be simplified. The GPS window's settings; downloads and GPX
// reads follow them.
#pragma once

namespace wayloom {

struct track_rules {
    double close_within = 25;  // metres between the last point and the first that make a shape; 0: never
    double simplify = 0;       // metres; 0: only as much as a map file needs
};

} // namespace wayloom
