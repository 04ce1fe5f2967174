// flight_summary.cpp: the figures of a flight.
#include "flight_summary.h"

#include "../gdi/picture.h"
#include "../scenario/numbers.h"

#include <cmath>

namespace kvhost {

namespace {

double Propellant(const Vessel &v) {
    double m = 0;
    for (const Tank &t : v.tanks) m += t.mass;
    return m;
}

std::string JsonText(const std::string &s) { return "\"" + JsonEscape(s) + "\""; }

}  // namespace

void FlightTally::Depart(const World &w, const DisplayReading &d) {
    if (departed_ || w.focus() < 0) return;
    departed_ = true;
    departureMjd_ = w.Mjd();
    departurePos_ = w.vessel(w.focus()).pos;
    atDeparture_ = d;
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
    if (startPropellant_ < 0) startPropellant_ = Propellant(v) - v.propellantAdded;
    const int t = d.target.empty() ? -1 : w.FindBody(d.target);
    if (t < 0) return;
    const double dist = length(v.pos - w.body(t).pos) - w.body(t).radius, speed = length(v.vel - w.body(t).vel);
    if (dist < closest_) {
        closest_ = dist;
        speedAtClosest_ = speed;
    }
    peakSpeed_ = std::fmax(peakSpeed_, speed);
}

double FlightTally::Progress(const DisplayReading &d) {
    if (!d.readouts) return 0;
    if (startDist_ <= 0) startDist_ = d.targetDist;
    return startDist_ > 0 ? 1 - d.targetDist / startDist_ : 0;
}

FlightSummary FlightTally::Summarise(const World &w, const FlightRecord &record, const Pilot &pilot, double simt,
                                     double wall, bool piloted) {
    FlightSummary s;
    s.piloted = piloted;
    s.departed = departed_;
    s.arrived = arrived_;
    s.endMjd = w.Mjd();
    s.simulatedHours = simt / 3600;
    s.wallSeconds = wall;
    s.legs = pilot.legs();
    s.flips = pilot.flips();
    if (!record.samples().empty()) {
        const DisplayReading &last = record.samples().back().display;
        s.source = last.source;
        s.target = last.target;
        s.acceleration = last.setGee;
    }
    if (w.focus() >= 0) {
        const Vessel &v = w.vessel(w.focus());
        s.vessel = v.name;
        s.refills = v.refills;
        if (v.status == VesselStatus::Crashed && v.landedOn >= 0) s.crashedOn = w.body(v.landedOn).name;
        if (startPropellant_ >= 0) s.propellantUsed = startPropellant_ + v.propellantAdded - Propellant(v);
        const int t = s.target.empty() ? -1 : w.FindBody(s.target);
        if (t >= 0) {
            s.restKm = length(v.pos - w.body(t).pos) / 1e3;
            s.restSpeed = length(v.vel - w.body(t).vel);
        }
    }
    if (closest_ < 1e300) {
        s.closestKm = closest_ / 1e3;
        s.speedAtClosest = speedAtClosest_;
    }
    s.peakSpeedKms = peakSpeed_ / 1e3;
    if (departed_) {
        s.departureMjd = departureMjd_;
        s.predictedEtaMjd = atDeparture_.etaMjd;
        s.predictedPetKm = atDeparture_.closest / 1e3;
        s.predictedImpact = atDeparture_.impact;
    }
    if (departed_ && arrived_) {
        s.arrivalMjd = arrivalMjd_;
        s.flightHours = (arrivalMjd_ - departureMjd_) * 24;
        const double d = length(arrivalPos_ - departurePos_);
        s.straightLineKm = d / 1e3;
        if (s.acceleration > 0) s.brachistochroneHours = 2 * std::sqrt(d / s.acceleration) / 3600;
    }
    for (int i = 0; i < w.VesselCount(); ++i) {
        const Vessel &v = w.vessel(i);
        const int ref = w.GravityRef(v.pos);
        const Body &b = w.body(ref < 0 ? 0 : ref);
        s.vesselLines.push_back(FormatText("  %-16s %s, %.1f km above %s, %.1f m/s relative, %.0f kg", v.name.c_str(),
                                           StatusName(v.status), (length(v.pos - b.pos) - b.radius) / 1e3,
                                           b.name.c_str(), length(v.vel - b.vel), v.Mass()));
    }
    return s;
}

std::string SummaryJson(const FlightSummary &s) {
    std::string o = "{\n";
    o += "  \"vessel\": " + JsonText(s.vessel) + ",\n  \"source\": " + JsonText(s.source) +
         ",\n  \"target\": " + JsonText(s.target) + ",\n";
    o += FormatText("  \"piloted\": %s,\n  \"departed\": %s,\n  \"arrived\": %s,\n", s.piloted ? "true" : "false",
                    s.departed ? "true" : "false", s.arrived ? "true" : "false");
    o += "  \"crashed_on\": " + (s.crashedOn.empty() ? std::string("null") : JsonText(s.crashedOn)) + ",\n";
    o += FormatText("  \"departure_mjd\": %.6f,\n  \"arrival_mjd\": %.6f,\n  \"end_mjd\": %.6f,\n", s.departureMjd,
                    s.arrivalMjd, s.endMjd);
    o += FormatText("  \"flight_time_h\": %.3f,\n  \"brachistochrone_h\": %.3f,\n  \"straight_line_km\": %.1f,\n"
                    "  \"acceleration_ms2\": %.3f,\n",
                    s.flightHours, s.brachistochroneHours, s.straightLineKm, s.acceleration);
    o += FormatText("  \"closest_above_surface_km\": %.3f,\n  \"speed_at_closest_ms\": %.3f,\n", s.closestKm,
                    s.speedAtClosest);
    o += FormatText("  \"rest_from_centre_km\": %.3f,\n  \"rest_speed_ms\": %.3f,\n", s.restKm, s.restSpeed);
    o += FormatText("  \"propellant_used_kg\": %.1f,\n  \"refills\": %d,\n  \"legs\": %d,\n  \"flips\": %d,\n",
                    s.propellantUsed, s.refills, s.legs, s.flips);
    o += FormatText("  \"peak_speed_kms\": %.3f,\n", s.peakSpeedKms);
    o += FormatText("  \"predicted_at_departure\": {\"eta_mjd\": %.6f, \"pet_km\": %.3f, \"impact\": %s},\n",
                    s.predictedEtaMjd, s.predictedPetKm, s.predictedImpact ? "true" : "false");
    o += FormatText("  \"simulated_h\": %.3f,\n  \"wall_s\": %.3f\n}\n", s.simulatedHours, s.wallSeconds);
    return o;
}

std::string SummaryText(const FlightSummary &s) {
    std::string o = FormatText("flew %.1f h of simulated time in %.1f s, now MJD %.6f\n", s.simulatedHours,
                               s.wallSeconds, s.endMjd);
    for (const std::string &line : s.vesselLines) o += line + "\n";
    if (!s.piloted) return o;
    if (!s.departed) return o + "the pilot never departed\n";
    o += FormatText("%s to %s: departed MJD %.4f", s.source.c_str(), s.target.c_str(), s.departureMjd);
    if (!s.crashedOn.empty())
        return o + FormatText(", did not arrive: crashed on %s at MJD %.4f\n", s.crashedOn.c_str(), s.endMjd);
    if (!s.arrived) return o + FormatText(", did not arrive (%.0f km from %s's centre at the end)\n", s.restKm, s.target.c_str());
    o += FormatText(", arrived MJD %.4f\n", s.arrivalMjd);
    o += FormatText("  flight time %.1f h; brachistochrone for the %.0f km straight line at %.1f m/s^2: %.1f h\n",
                    s.flightHours, s.straightLineKm, s.acceleration, s.brachistochroneHours);
    o += FormatText("  closest %.0f km above %s at %.1f m/s; at rest %.0f km from its centre at %.1f m/s\n", s.closestKm,
                    s.target.c_str(), s.speedAtClosest, s.restKm, s.restSpeed);
    o += FormatText("  %d legs, %d flips, peak speed %.1f km/s, propellant %.0f kg used with %d refills\n", s.legs,
                    s.flips, s.peakSpeedKms, s.propellantUsed, s.refills);
    o += FormatText("  predicted at departure: ETA MJD %.4f, %s; arrived MJD %.4f\n", s.predictedEtaMjd,
                    s.predictedImpact ? "IMPACT" : FormatText("PeT %.0f km", s.predictedPetKm).c_str(), s.arrivalMjd);
    return o;
}

}  // namespace kvhost
