// flight_summary.cpp: the figures of a flight.
#include "flight_summary.h"

#include "../gdi/picture.h"
#include "../scenario/numbers.h"
#include "../world/frames.h"

#include <cmath>

namespace kvhost {

namespace {

std::string JsonText(const std::string &s, int *replaced) { return "\"" + JsonEscape(s, replaced) + "\""; }

}  // namespace

void FlightTally::DepartAt(const World &w, const DisplayReading &d) {
    departed_ = true;
    // A flight resumed half flown departed when its display's clock started (Eject), not now.
    departureMjd_ = d.elapsed > 0 && d.ejectMjd > 0 ? d.ejectMjd : w.Mjd();
    departurePos_ = w.vessel(w.focus()).pos;
    atDeparture_ = d;
}

void FlightTally::Depart(const World &w, const DisplayReading &d) {
    if (w.focus() < 0) return;
    if (!departed_) DepartAt(w, d);
    // What the display predicted as the pilot left, even when the drive thrust before.
    if (!predicted_) atDeparture_ = d;
    predicted_ = true;
}

void FlightTally::Arrive(const World &w) {
    if (arrived_ || w.focus() < 0) return;
    arrived_ = true;
    arrivalMjd_ = w.Mjd();
    arrivalPos_ = w.vessel(w.focus()).pos;
}

void FlightTally::Frame(const World &w, const DisplayReading &d) {
    if (w.focus() < 0) return;
    const Vessel &v = w.vessel(w.focus());
    if (startPropellant_ < 0) startPropellant_ = v.PropellantMass() - v.propellantAdded;
    if (!departed_) {
        for (int th : v.groups[THGROUP_MAIN])
            if (v.thrusters[th].level > 0) {
                DepartAt(w, d);
                break;
            }
    }
    if (v.status == VesselStatus::Crashed && !crashed_ && v.landedOn >= 0) {
        crashed_ = true;
        const Body &b = w.body(v.landedOn);
        const VECTOR3 rel = v.pos - b.pos;
        const double r = length(rel);
        impact_.body = b.name;
        impact_.mjd = w.Mjd();
        impact_.speed = v.touchdownSpeed;
        impact_.latitude = r > 0 ? std::asin(rel.y / r) * 180 / kPi : 0;
        impact_.longitude = std::atan2(rel.z, rel.x) * 180 / kPi;
    }
    // Only a flying vessel's distances count: one resting on a surface moves with the body.
    if (v.status != VesselStatus::Flying) return;
    const int t = d.target.empty() ? -1 : w.FindBody(d.target);
    if (t < 0) return;
    const BodyRelative r = RelativeTo(w, v, t);
    if (r.altitude < closest_) {
        closest_ = r.altitude;
        speedAtClosest_ = r.speed;
    }
    peakSpeed_ = std::fmax(peakSpeed_, r.speed);
}

double FlightTally::Progress(const DisplayReading &d) {
    if (!d.readouts) return 0;
    if (startDist_ <= 0) startDist_ = d.targetDist;
    return startDist_ > 0 ? 1 - d.targetDist / startDist_ : 0;
}

FinalOrbit FinalOrbitAbout(const World &w, const Vessel &v, int body) {
    const Body &b = w.body(body);
    const OrbitAbout o = OrbitOf(w, v, body);
    FinalOrbit f;
    f.known = true;
    f.bound = o.bound;
    f.periapsisKm = (o.periapsis - b.radius) / 1e3;
    if (o.bound) {
        f.apoapsisKm = (o.apoapsis - b.radius) / 1e3;
        f.periodHours = o.period / 3600;
    }
    if (!o.bound)
        f.why = FormatText("not bound to %s: %.0f m/s relative is more than its escape speed there", b.name.c_str(),
                           length(v.vel - b.vel));
    else if (o.periapsis <= b.radius)
        f.why = FormatText("its course leads into %s (closest approach %.0f km below the surface)", b.name.c_str(),
                           -f.periapsisKm);
    else if (b.parent >= 0 && o.apoapsis > HoldingRadius(w, body))
        f.why = FormatText(
            "its orbit reaches %.0f km from %s's centre, beyond the %.0f km within which %s holds a ship against "
            "%s's pull: it would not stay",
            o.apoapsis / 1e3, b.name.c_str(), HoldingRadius(w, body) / 1e3, b.name.c_str(),
            w.body(b.parent).name.c_str());
    else if (w.GravityRef(v.pos) != body)
        f.why = FormatText("its gravity reference is %s, not %s, as the simulator would save it",
                           w.body(w.GravityRef(v.pos)).name.c_str(), b.name.c_str());
    f.inOrbit = f.why.empty();
    return f;
}

double HoldingRadius(const World &w, int body) {
    // The Hill radius: where the body's pull and its primary's tide balance.
    const Body &b = w.body(body);
    if (b.parent < 0) return 1e300;
    const Body &p = w.body(b.parent);
    return length(b.pos - p.pos) * std::cbrt(b.mass / (3 * p.mass));
}

namespace {

// Every vessel's state at the end, one line each, relative to the body it moves about.
std::vector<std::string> VesselLines(const World &w) {
    std::vector<std::string> lines;
    for (int i = 0; i < w.VesselCount(); ++i) {
        const Vessel &v = w.vessel(i);
        const int ref = ReferenceBody(v);
        const int body = ref < 0 ? 0 : ref;
        const BodyRelative r = RelativeTo(w, v, body);
        lines.push_back(FormatText("  %-16s %s, %.1f km above %s, %.1f m/s relative, %.0f kg", v.name.c_str(),
                                   StatusName(v.status), r.altitude / 1e3, w.body(body).name.c_str(), r.speed,
                                   v.Mass()));
    }
    return lines;
}

}  // namespace

void FlightTally::SummariseFocus(const World &w, FlightSummary &s) const {
    if (w.focus() < 0) return;
    const Vessel &v = w.vessel(w.focus());
    s.vessel = v.name;
    s.refills = v.refills;
    if (startPropellant_ >= 0) s.propellantUsed = startPropellant_ + v.propellantAdded - v.PropellantMass();
    const int t = s.target.empty() ? -1 : w.FindBody(s.target);
    // Where the pilot ended: a vessel that crashed or is still on its way ends nowhere.
    if (t >= 0 && arrived_ && !crashed_) {
        s.restKm.Set(length(v.pos - w.body(t).pos) / 1e3);
        s.restSpeed.Set(length(v.vel - w.body(t).vel));
        s.orbit = FinalOrbitAbout(w, v, t);
        s.arrived = s.orbit.inOrbit;
    }
}

void FlightTally::SummariseCourse(FlightSummary &s) const {
    if (crashed_ && impact_.body == s.target) {
        s.closestKm.Set(0);
        s.speedAtClosest.Set(impact_.speed);
    } else if (closest_ < 1e300) {
        s.closestKm.Set(closest_ / 1e3);
        s.speedAtClosest.Set(speedAtClosest_);
    }
    s.peakSpeedKms = peakSpeed_ / 1e3;
    if (departed_) {
        s.departureMjd.Set(departureMjd_);
        s.predictedEtaMjd = atDeparture_.etaMjd;
        s.predictedPetKm = atDeparture_.closest / 1e3;
        s.predictedImpact = atDeparture_.impact;
    }
    if (departed_ && arrived_) {
        s.arrivalMjd.Set(arrivalMjd_);
        s.flightHours.Set((arrivalMjd_ - departureMjd_) * 24);
        const double d = length(arrivalPos_ - departurePos_);
        s.straightLineKm.Set(d / 1e3);
        if (s.acceleration.known && s.acceleration.value > 0)
            s.brachistochroneHours.Set(2 * std::sqrt(d / s.acceleration.value) / 3600);
    }
}

FlightSummary FlightTally::Summarise(const World &w, const FlightRecord &record, const Pilot &pilot, double simt,
                                     double wall, bool piloted) {
    FlightSummary s;
    s.piloted = piloted;
    s.departed = departed_;
    s.arrived = arrived_;
    s.interrupted = interrupted_;
    s.endMjd = w.Mjd();
    s.simulatedHours = simt / 3600;
    s.wallSeconds = wall;
    s.legs = pilot.legs();
    s.flips = pilot.flips();
    if (!record.samples().empty()) {
        const DisplayReading &last = record.samples().back().display;
        s.source = last.source;
        s.target = last.target;
        // The acceleration the flight was set to fly at (the pilot may raise it on the way).
        const double gee = departed_ && atDeparture_.setGee > 0 ? atDeparture_.setGee : last.setGee;
        if (last.readouts || gee > 0) s.acceleration.Set(gee);
    }
    s.crashed = crashed_;
    if (crashed_) {
        s.impact = impact_;
        s.crashedOn = impact_.body;
    }
    SummariseFocus(w, s);
    SummariseCourse(s);
    s.vesselLines = VesselLines(w);
    return s;
}

namespace {

// A figure with `format`, or null.
std::string Json(const Figure &f, const char *format) { return f.known ? FormatText(format, f.value) : "null"; }

}  // namespace

std::string SummaryJson(const FlightSummary &s, int *replaced) {
    std::string o = "{\n";
    o += "  \"vessel\": " + JsonText(s.vessel, replaced) + ",\n  \"source\": " + JsonText(s.source, replaced) +
         ",\n  \"target\": " + JsonText(s.target, replaced) + ",\n";
    o += FormatText("  \"piloted\": %s,\n  \"departed\": %s,\n  \"arrived\": %s,\n  \"interrupted\": %s,\n",
                    s.piloted ? "true" : "false", s.departed ? "true" : "false", s.arrived ? "true" : "false",
                    s.interrupted ? "true" : "false");
    o += "  \"refused\": " + (s.refused.empty() ? std::string("null") : JsonText(s.refused, replaced)) + ",\n";
    o += "  \"crashed_on\": " + (s.crashedOn.empty() ? std::string("null") : JsonText(s.crashedOn, replaced)) + ",\n";
    o += "  \"impact\": ";
    if (s.crashed)
        o += "{\"body\": " + JsonText(s.impact.body, replaced) +
             FormatText(
                 ", \"mjd\": %.6f, \"speed_ms\": %.3f, \"ecliptic_latitude_deg\": %.4f, "
                 "\"ecliptic_longitude_deg\": %.4f},\n",
                 s.impact.mjd, s.impact.speed, s.impact.latitude, s.impact.longitude);
    else
        o += "null,\n";
    o += "  \"departure_mjd\": " + Json(s.departureMjd, "%.6f") +
         ",\n  \"arrival_mjd\": " + Json(s.arrivalMjd, "%.6f") + FormatText(",\n  \"end_mjd\": %.6f,\n", s.endMjd);
    o += "  \"flight_time_h\": " + Json(s.flightHours, "%.3f") +
         ",\n  \"brachistochrone_h\": " + Json(s.brachistochroneHours, "%.3f") +
         ",\n  \"straight_line_km\": " + Json(s.straightLineKm, "%.1f") +
         ",\n  \"acceleration_ms2\": " + Json(s.acceleration, "%.3f") + ",\n";
    o += "  \"closest_above_surface_km\": " + Json(s.closestKm, "%.3f") +
         ",\n  \"speed_at_closest_ms\": " + Json(s.speedAtClosest, "%.3f") + ",\n";
    o += "  \"rest_from_centre_km\": " + Json(s.restKm, "%.3f") +
         ",\n  \"rest_speed_ms\": " + Json(s.restSpeed, "%.3f") + ",\n";
    o += "  \"orbit\": ";
    if (s.orbit.known) {
        Figure apo, period;
        if (s.orbit.bound) {
            apo.Set(s.orbit.apoapsisKm);
            period.Set(s.orbit.periodHours);
        }
        o += FormatText(
                 "{\"in_orbit\": %s, \"periapsis_km\": %.3f, \"apoapsis_km\": %s, \"period_h\": %s, \"why_not\": ",
                 s.orbit.inOrbit ? "true" : "false", s.orbit.periapsisKm, Json(apo, "%.3f").c_str(),
                 Json(period, "%.4f").c_str()) +
             (s.orbit.inOrbit ? std::string("null") : JsonText(s.orbit.why, replaced)) + "},\n";
    } else {
        o += "null,\n";
    }
    o += FormatText("  \"propellant_used_kg\": %.1f,\n  \"refills\": %d,\n  \"legs\": %d,\n  \"flips\": %d,\n",
                    s.propellantUsed, s.refills, s.legs, s.flips);
    o += FormatText("  \"peak_speed_kms\": %.3f,\n", s.peakSpeedKms);
    if (s.departed)
        o += FormatText("  \"predicted_at_departure\": {\"eta_mjd\": %.6f, \"pet_km\": %.3f, \"impact\": %s},\n",
                        s.predictedEtaMjd, s.predictedPetKm, s.predictedImpact ? "true" : "false");
    else
        o += "  \"predicted_at_departure\": null,\n";
    o += FormatText("  \"frames\": %ld,\n  \"refreshes\": {", s.frames);
    for (size_t i = 0; i < s.refreshes.size(); ++i)
        o += FormatText("%s\"%d\": %ld", i ? ", " : "", s.refreshes[i].first, s.refreshes[i].second);
    o += FormatText("},\n  \"predictions\": %ld,\n", s.predictions);
    o += FormatText("  \"simulated_h\": %.3f,\n  \"wall_s\": %.3f\n}\n", s.simulatedHours, s.wallSeconds);
    return o;
}

std::string SummaryText(const FlightSummary &s) {
    std::string o = FormatText("flew %.1f h of simulated time in %.1f s, now MJD %.6f%s\n", s.simulatedHours,
                               s.wallSeconds, s.endMjd, s.interrupted ? " (interrupted)" : "");
    for (const std::string &line : s.vesselLines) o += line + "\n";
    if (s.crashed)
        o += FormatText("%s crashed on %s at MJD %.4f at %.0f m/s (ecliptic latitude %.2f, longitude %.2f)\n",
                        s.vessel.c_str(), s.impact.body.c_str(), s.impact.mjd, s.impact.speed, s.impact.latitude,
                        s.impact.longitude);
    if (!s.piloted) return o;
    if (!s.refused.empty()) return o + "the pilot would not fly it: " + s.refused + "\n";
    if (!s.departed) return o + "the pilot never departed\n";
    o += FormatText("%s to %s: departed MJD %.4f", s.source.c_str(), s.target.c_str(), s.departureMjd.value);
    if (s.crashed) return o + FormatText(", did not arrive: crashed on %s\n", s.impact.body.c_str());
    if (s.orbit.known && !s.orbit.inOrbit) return o + ", did not arrive: " + s.orbit.why + "\n";
    if (!s.arrived) return o + ", did not arrive\n";
    o += FormatText(", in orbit around %s from MJD %.4f\n", s.target.c_str(), s.arrivalMjd.value);
    o += FormatText("  flight time %.1f h; brachistochrone for the %.0f km straight line at %.1f m/s^2: %.1f h\n",
                    s.flightHours.value, s.straightLineKm.value, s.acceleration.value, s.brachistochroneHours.value);
    if (s.closestKm.known)
        o += FormatText("  closest %.0f km above %s at %.1f m/s", s.closestKm.value, s.target.c_str(),
                        s.speedAtClosest.value);
    o += "\n";
    if (s.orbit.known)
        o += FormatText("  in orbit: periapsis %.0f km, apoapsis %.0f km above the surface, period %.2f h\n",
                        s.orbit.periapsisKm, s.orbit.apoapsisKm, s.orbit.periodHours);
    o += FormatText("  %d legs, %d flips, peak speed %.1f km/s, propellant %.0f kg used with %d refills\n", s.legs,
                    s.flips, s.peakSpeedKms, s.propellantUsed, s.refills);
    o += FormatText("  predicted at departure: ETA MJD %.4f, %s; in orbit MJD %.4f\n", s.predictedEtaMjd,
                    s.predictedImpact ? "IMPACT" : FormatText("PeT %.0f km", s.predictedPetKm).c_str(),
                    s.arrivalMjd.value);
    return o;
}

}  // namespace kvhost
