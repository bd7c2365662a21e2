#pragma once

// The host codes SetHostKind gives (IPlugBase::HostKind): -1 while the host
// is not yet identified, 0 for a host we do not know. Codes 2, 6, 10, 11 and
// 19 belong to no host.
enum HostKindCode : int
{
  kHostNotIdentified = -1,
  kHostUnknown = 0,
  kHostReaper = 1,
  kHostCubase = 3,
  kHostNuendo = 4,
  kHostCakewalk = 5,
  kHostFruity = 7,
  kHostSamplitude = 8,
  kHostLive = 9,
  kHostMelodyne = 12,
  kHostVstManLib = 13,
  kHostAuLab = 14,
  kHostForte = 15,
  kHostChainer = 16,
  kHostAudition = 17,
  kHostOrion = 18,
  kHostSawStudio = 20,
  kHostLogic = 21,
  kHostDigitalPerformer = 22,
  kHostAudioMulch = 23,
  kHostPreSonus = 24,
  kHostAcoustica = 25,
  kHostGarageBand = 26,
  kHostArdour = 27,
  kHostBrainwaveProducer = 28
};
